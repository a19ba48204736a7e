#include "model/text_codec.h"

#include <gtest/gtest.h>

namespace qzb {
namespace {

TEST(Utf, RoundTripsAndReplacesBrokenSequences)
{
    const std::u16string text = u"A\u00E9\u20AC\U0001F600\u65E5";
    EXPECT_EQ(Utf8ToUtf16(Utf16ToUtf8(text)), text);
    EXPECT_EQ(Utf16ToUtf8(u"\u00E9"), "\xC3\xA9");
    EXPECT_EQ(Utf8ToUtf16("a\xFF" "b"), u"a\uFFFDb");
    EXPECT_EQ(Utf8ToUtf16("\xC3"), u"\uFFFD") << "cut sequence at the end";
    EXPECT_EQ(Utf8ToUtf16("\xC0\xAF"), u"\uFFFD\uFFFD") << "overlong form";
    EXPECT_EQ(Utf8ToUtf16("\xED\xA0\x80"), u"\uFFFD") << "encoded surrogate";
    EXPECT_EQ(Utf16ToUtf8(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");
}

TEST(CodePage, Windows1252)
{
    const auto page = CCodePage::Open("Windows-1252");
    ASSERT_TRUE(page);
    EXPECT_EQ(page->Encode(u"\u20AC\u00E9x"), "\x80\xE9x");
    EXPECT_EQ(page->Encode(u"\u0416\U0001F600!"), "?" "?!") << "one '?' per character it cannot hold";
    EXPECT_EQ(page->Decode("\x80\xE9"), u"\u20AC\u00E9");
    EXPECT_EQ(page->Decode("a\x81" "b"), u"a?b") << "an undefined byte";
    EXPECT_EQ(page->EncodedLength(U'\u00E9'), 1u);
    EXPECT_EQ(page->EncodedLength(U'\u0416'), 0u);
}

TEST(CodePage, NamesAndOtherPages)
{
    EXPECT_TRUE(CCodePage::Open("1250"));
    EXPECT_FALSE(CCodePage::Open("no-such-page"));
    const auto cyrillic = CCodePage::Open("cp1251");
    ASSERT_TRUE(cyrillic);
    EXPECT_EQ(cyrillic->Decode(cyrillic->Encode(u"\u0416\u0430")), u"\u0416\u0430");
    EXPECT_EQ(cyrillic->Encode(u"\u0416").size(), 1u);
}

TEST(CodePage, DoubleBytePage)
{
    const auto page = CCodePage::Open("CP932");
    ASSERT_TRUE(page);
    const std::u16string text = u"a\u65E5\u672C\uFF76";
    const std::string bytes = page->Encode(text);
    EXPECT_EQ(bytes.size(), 6u) << "ASCII and half-width katakana take one byte, kanji two";
    EXPECT_EQ(page->Decode(bytes), text);
    EXPECT_EQ(page->EncodedLength(U'\u65E5'), 2u);
    EXPECT_EQ(page->EncodeLimited(text, 2), "a");
    EXPECT_EQ(page->EncodeLimited(text, 3), page->Encode(u"a\u65E5"));
    EXPECT_EQ(page->Decode("\x93"), u"?") << "a lead byte without its trail byte";
}

TEST(CodePage, ProcessPageCanBeChosen)
{
    EXPECT_EQ(ProcessCodePage().Name(), "WINDOWS-1252");
    EXPECT_FALSE(SetProcessCodePage("no-such-page"));
    EXPECT_EQ(ProcessCodePage().Name(), "WINDOWS-1252");
    const CCodePage& before = ProcessCodePage();
    ASSERT_TRUE(SetProcessCodePage("CP932"));
    EXPECT_EQ(ProcessCodePage().Name(), "CP932");
    EXPECT_EQ(before.Encode(u"\u00E9"), "\xE9") << "a page in use stays usable";
    ASSERT_TRUE(SetProcessCodePage(kDefaultCodePage));
}

} // namespace
} // namespace qzb
