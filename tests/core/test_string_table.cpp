#include "app/rendered_text.h"
#include "app/string_table.h"

#include "app/app_context.h"
#include "app/folders.h"
#include "model/text_codec.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <limits>
#include <memory>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

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

// An endless source of one byte that counts what was taken from it.
class CEndlessBytes : public std::streambuf
{
public:
    explicit CEndlessBytes(char byte) { m_chunk.fill(byte); }
    std::size_t Taken() const { return m_taken; }

protected:
    int_type underflow() override
    {
        // Bounded only so that a reader without a limit ends the test instead of hanging it.
        if (m_taken >= (std::size_t{8} << 20)) {
            return traits_type::eof();
        }
        m_taken += m_chunk.size();
        setg(m_chunk.data(), m_chunk.data(), m_chunk.data() + m_chunk.size());
        return traits_type::to_int_type(m_chunk[0]);
    }

private:
    std::array<char, 64> m_chunk{};
    std::size_t m_taken = 0;
};

TEST(StringTable, LineWithoutEndStopsAtTheLimit)
{
    CEndlessBytes endless('x');
    std::istream in(&endless);
    CStringTable table;
    EXPECT_EQ(table.Load(in).status, CStringTableLoad::Status::BadLine);
    EXPECT_LE(endless.Taken(), CStringTable::kMaxLineBytes + 64);

    // A comment may still run past the limit without ending the table.
    ASSERT_TRUE(LoadText(table, ";" + std::string(2000, 'c') + "\nAFTER=1\n").Ok());
    EXPECT_EQ(TextOf(table, "AFTER"), u"1");
}

TEST(StringTable, OnlyAReadablePlainFileIsATable)
{
    char pattern[] = "/tmp/qzb-strings-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    const std::filesystem::path folder = pattern;
    std::filesystem::create_directory(folder / "folder.tbl");
    ASSERT_EQ(::mkfifo((folder / "pipe.tbl").c_str(), 0600), 0);
    std::ofstream(folder / "locked.tbl") << "KEY=1\n";
    std::filesystem::permissions(folder / "locked.tbl", std::filesystem::perms::none);

    std::vector<std::filesystem::path> notTables = {
        folder / "folder.tbl", folder / "pipe.tbl", "/dev/null", "/nonexistent/QZBSTR.tbl"};
    if (::geteuid() != 0) { // root reads any file
        notTables.push_back(folder / "locked.tbl");
    }
    for (const auto& path : notTables) {
        CStringTable table;
        EXPECT_EQ(table.LoadFile(path).status, CStringTableLoad::Status::NotFound) << path;
    }

    // The search passes over a folder in the table's place and says where it looked.
    const std::filesystem::path good = folder / "good";
    std::filesystem::create_directories(good);
    std::filesystem::create_directory(folder / "M8120QZBSTR.tbl");
    std::ofstream(good / "M8120QZBSTR.tbl") << "STR_CAPTION=found\n";
    CDataFolders folders;
    folders.environment = folder;
    folders.fallbacks = {good};
    EXPECT_EQ(FindDataFile(folders, "M8120QZBSTR.tbl"), good / "M8120QZBSTR.tbl");

    CAppContext context(8313);
    CKeyedText problem;
    folders.commandLine = folder;
    EXPECT_FALSE(LoadProfileStringTable(context, folders, problem));
    EXPECT_EQ(RenderTextUtf8(problem, nullptr), "Can not find M8120QZBSTR.tbl. Looked in: " + folder.string() + ".");
    std::filesystem::remove_all(folder);
}

TEST(StringTable, ByteOrderMarkBeforeTheFirstKeyIsSkipped)
{
    CStringTable table;
    ASSERT_TRUE(LoadText(table,
                         "\xEF\xBB\xBF"
                         "FIRST=1\nSECOND=2\n")
                    .Ok());
    EXPECT_EQ(TextOf(table, "FIRST"), u"1");
    ASSERT_TRUE(LoadText(table, "\xEF\xBB\xBF;comment\nFIRST=3\n").Ok());
    EXPECT_EQ(TextOf(table, "FIRST"), u"3");
    EXPECT_EQ(table.Size(), 1u);
}

TEST(StringTable, CopyLooksUpInItsOwnEntries)
{
    // Keys longer than a short-string buffer live on the heap that the original frees.
    const std::string key = "STR_A_KEY_LONG_ENOUGH_FOR_THE_HEAP";
    auto original = std::make_unique<CStringTable>();
    ASSERT_TRUE(LoadText(*original, key + "=kept\n").Ok());
    CStringTable copy(*original);
    CStringTable assigned;
    assigned = *original;
    ASSERT_TRUE(LoadText(*original, "OTHER_KEY_LONG_ENOUGH_FOR_THE_HEAP_TOO=x\n").Ok());
    original.reset();
    EXPECT_EQ(TextOf(copy, key), u"kept");
    EXPECT_EQ(TextOf(assigned, key), u"kept");
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
        {u"1.5", 1.5}, {u"1.2", 1.2}, {u"  1.25xyz", 1.25}, {u"+2", 2.0},    {u"0", 1.0},
        {u"abc", 1.0}, {u"", 1.0},    {u"-1.5", 1.0},       {u"1e400", 1.0}, {u"nan", 1.0},
        {u"0.0", 1.0}, {u"1,5", 1.0}, {u"\u00BD", 1.0},     {u"1e10", 1.0},  {u"-1", 1.0},
        {u"inf", 1.0}, {u"4.5", 1.0}, {u"0.4", 1.0},        {u"0.5", 0.5},   {u"4", 4.0},
    };
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(ParseSizeRatio(c.text), c.expected) << Utf16ToUtf8(c.text);
    }
    // Whatever a caller passes, scaling stays within int and wild ratios change nothing.
    const CScaledRect unchanged = ScaleRect({10, 20, 100, 40}, 1e10);
    EXPECT_EQ(unchanged.width, 100);
    EXPECT_EQ(unchanged.top, 20);
    EXPECT_EQ(ScaleRect({0, 0, std::numeric_limits<int>::max(), 1}, 4.0).width, std::numeric_limits<int>::max());
}

} // namespace
} // namespace qzb
