#include "app/string_table.h"

#include "model/text_codec.h"

#include <gtest/gtest.h>

#include <sstream>

namespace qzb {
namespace {

CStringTableLoad LoadText(CStringTable& table, const std::string& content)
{
    std::istringstream in(content);
    return table.Load(in);
}

std::u16string TextOf(const CStringTable& table, std::string_view key)
{
    const std::u16string* text = table.Find(key);
    return text ? *text : u"<missing>";
}

TEST(StringTable, EntrySyntax)
{
    CStringTable table;
    ASSERT_TRUE(LoadText(table,
                         "; a comment=with equals\n"
                         "KEY=a=b\n"
                         "LINES=Line1\\nLine2\n"
                         "TAB=a\\tb\n"
                         "EMPTY=\n"
                         "CRLF=windows\r\n"
                         "no equals sign here\n"
                         "\n"
                         " SPACED = kept \n"
                         "DUP=first\n"
                         "DUP=second\n")
                    .Ok());
    EXPECT_EQ(TextOf(table, "KEY"), u"a=b");
    EXPECT_EQ(TextOf(table, "LINES"), u"Line1\nLine2");
    EXPECT_EQ(TextOf(table, "TAB"), u"a\tb");
    EXPECT_EQ(TextOf(table, "EMPTY"), u"");
    EXPECT_EQ(TextOf(table, "CRLF"), u"windows");
    EXPECT_EQ(TextOf(table, " SPACED "), u" kept ");
    EXPECT_EQ(TextOf(table, "DUP"), u"first");
    EXPECT_EQ(table.Find("; a comment"), nullptr);
    EXPECT_EQ(table.Find("key"), nullptr) << "keys are case-sensitive";
    EXPECT_EQ(table.Size(), 8u);
}

TEST(StringTable, EscapesApplyInOrderWithoutALiteralBackslashEscape)
{
    CStringTable table;
    ASSERT_TRUE(LoadText(table, "A=\\\\n\nB=\\\\t\nC=path\\x\n").Ok());
    EXPECT_EQ(TextOf(table, "A"), u"\\\n");
    EXPECT_EQ(TextOf(table, "B"), u"\\\t");
    EXPECT_EQ(TextOf(table, "C"), u"path\\x");
}

TEST(StringTable, OpeningBracketEndsTheTable)
{
    CStringTable table;
    ASSERT_TRUE(LoadText(table, "BEFORE=1\n[SECTION]\nAFTER=2\nno line feed at the end").Ok());
    EXPECT_EQ(TextOf(table, "BEFORE"), u"1");
    EXPECT_EQ(table.Find("AFTER"), nullptr);
}

TEST(StringTable, EmptyFileLoadsWithNoEntries)
{
    CStringTable table;
    EXPECT_TRUE(LoadText(table, "").Ok());
    EXPECT_EQ(table.Size(), 0u);
}

TEST(StringTable, LinesMustEndWithALineFeedAndFitTheBuffer)
{
    const std::string longest = "K=" + std::string(CStringTable::kMaxLineBytes - 3, 'x') + "\n";
    ASSERT_EQ(longest.size(), CStringTable::kMaxLineBytes);
    CStringTable table;
    EXPECT_TRUE(LoadText(table, longest).Ok());

    const CStringTableLoad tooLong = LoadText(table, "A=1\n" + std::string("K=") + std::string(777, 'x') + "\n");
    EXPECT_EQ(tooLong.status, CStringTableLoad::Status::BadLine);
    EXPECT_EQ(tooLong.line, 2u);

    const CStringTableLoad lastLine = LoadText(table, "A=1\nB=2\nC=no line feed");
    EXPECT_EQ(lastLine.status, CStringTableLoad::Status::BadLine);
    EXPECT_EQ(lastLine.line, 3u);
}

TEST(StringTable, FailedLoadKeepsThePreviousEntries)
{
    CStringTable table;
    ASSERT_TRUE(LoadText(table, "KEEP=me\n").Ok());
    EXPECT_FALSE(LoadText(table, "OTHER=x\nBROKEN").Ok());
    EXPECT_EQ(TextOf(table, "KEEP"), u"me");
    EXPECT_EQ(table.Find("OTHER"), nullptr);
}

TEST(StringTable, MissingFileIsReportedAsNotFound)
{
    CStringTable table;
    EXPECT_EQ(table.LoadFile("/nonexistent/QZBSTR.tbl").status, CStringTableLoad::Status::NotFound);
}

TEST(StringTable, TextsPassThroughTheProcessCodePage)
{
    CStringTable table;
    // U+00E9 is in Windows-1252; U+0416 is not and is lost to '?'.
    ASSERT_TRUE(LoadText(table, "WEST=caf\xC3\xA9\nCYR=\xD0\x96\n").Ok());
    EXPECT_EQ(TextOf(table, "WEST"), u"caf\u00E9");
    EXPECT_EQ(TextOf(table, "CYR"), u"?");

    ASSERT_TRUE(SetProcessCodePage("CP1251"));
    ASSERT_TRUE(LoadText(table, "CYR=\xD0\x96\n").Ok());
    EXPECT_EQ(TextOf(table, "CYR"), u"\u0416");
    ASSERT_TRUE(SetProcessCodePage(kDefaultCodePage));
}

TEST(SizeRatio, ParsesLikeTheCLibraryWithOneAsFallback)
{
    const struct
    {
        std::u16string text;
        double expected;
    } cases[] = {
        {u"1.5", 1.5},
        {u"1.2", 1.2},
        {u"  1.25xyz", 1.25},
        {u"+2", 2.0},
        {u"0", 1.0},
        {u"abc", 1.0},
        {u"", 1.0},
        {u"-1.5", 1.0},
        {u"1e400", 1.0},
        {u"nan", 1.0},
        {u"0.0", 1.0},
        {u"1,5", 1.0},
        {u"\u00BD", 1.0},
    };
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(ParseSizeRatio(c.text), c.expected) << Utf16ToUtf8(c.text);
    }
}

} // namespace
} // namespace qzb
