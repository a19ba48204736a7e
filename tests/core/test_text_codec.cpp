#include "model/text_codec.h"

#include <gtest/gtest.h>

namespace qzb {
namespace {

TEST(Utf, RoundTripsAndReplacesBrokenSequences)
{
    const std::u16string text = u"A\u00E9\u20AC\U0001F600\u65E5";
    EXPECT_EQ(Utf8ToUtf16(Utf16ToUtf8(text)), text);
    EXPECT_EQ(Utf16ToUtf8(u"\u00E9"), "\xC3\xA9");
    EXPECT_EQ(Utf8ToUtf16("a\xFF"
                          "b"),
              u"a\uFFFDb");
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
    EXPECT_EQ(page->Encode(u"\u0416\U0001F600!"),
              "?"
              "?!")
        << "one '?' per character it cannot hold";
    EXPECT_EQ(page->Decode("\x80\xE9"), u"\u20AC\u00E9");
    EXPECT_EQ(page->Decode("a\x81"
                           "b"),
              u"a?b")
        << "an undefined byte";
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

namespace qzb {
namespace {

// Single-byte pages convert through tables built from iconv's answers; they must agree with the
// pages' definitions, undefined bytes and all.
TEST(CodePage, SingleBytePagesUseTablesThatMatchThePages)
{
    const struct
    {
        const char* page;
        char16_t unit;
        char byte;
    } cases[] = {
        {"CP1252", u'\u20AC', '\x80'},
        {"CP1252", u'\u00FF', '\xFF'},
        {"CP1250", u'\u0141', '\xA3'},
        {"CP1250", u'\u0171', '\xFB'},
        {"CP1251", u'\u0416', '\xC6'},
        {"CP1251", u'\u0451', '\xB8'},
    };
    for (const auto& c : cases) {
        const auto page = CCodePage::Open(c.page);
        ASSERT_TRUE(page);
        EXPECT_TRUE(page->IsSingleByte()) << c.page;
        EXPECT_EQ(page->Encode(std::u16string(1, c.unit)), std::string(1, c.byte)) << c.page;
        EXPECT_EQ(page->Decode(std::string(1, c.byte)), std::u16string(1, c.unit)) << c.page;
    }
    const auto cyrillic = CCodePage::Open("CP1251");
    EXPECT_EQ(cyrillic->Decode("\x98"), u"?") << "0x98 is not defined in Windows-1251";
    EXPECT_EQ(cyrillic->Encode(u"\u00E9\U0001F600\xD800x"), "???x");
    EXPECT_EQ(cyrillic->Encode(std::u16string(1, u'\0')), std::string(1, '\0'));
    EXPECT_FALSE(CCodePage::Open("CP932")->IsSingleByte());
    // Every byte of a single-byte page reads back as itself, unless the page leaves it undefined.
    const auto western = CCodePage::Open("CP1252");
    for (int byte = 0; byte < 256; ++byte) {
        const std::string one(1, static_cast<char>(byte));
        const std::u16string text = western->Decode(one);
        if (text != u"?") {
            EXPECT_EQ(western->Encode(text), one) << byte;
        }
    }
}

} // namespace
} // namespace qzb
