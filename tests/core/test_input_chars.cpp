#include "model/input_chars.h"

#include "model/panel_charsets.h"
#include "model/text_codec.h"
#include "model/value_store.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

namespace qzb {
namespace {

void SetPanelLanguage(CValueStore& store, std::int32_t language)
{
    store.SetItemNumber("MACHINE_SET_DLG", "Machine_Language", language);
}

template <typename T>
std::string CaseName(const testing::TestParamInfo<T>& info)
{
    return info.param.name;
}

struct CWindowsTableCase
{
    std::string name;
    std::int32_t language;
    std::string page;
    std::vector<int> undefined;
};

class PanelCharsetWindowsTable : public testing::TestWithParam<CWindowsTableCase>
{
};

TEST_P(PanelCharsetWindowsTable, AgreesWithTheCodePageAndKeepsUndefinedCodesAsThemselves)
{
    const CWindowsTableCase& param = GetParam();
    const auto page = CCodePage::Open(param.page);
    ASSERT_TRUE(page);
    const CPanelCharset& charset = PanelCharsetFor(param.language);
    for (int code = 0; code < 256; ++code) {
        const bool undefined = std::ranges::find(param.undefined, code) != param.undefined.end();
        const char16_t expected =
            undefined ? static_cast<char16_t>(code) : page->Decode(std::string(1, static_cast<char>(code)))[0];
        EXPECT_EQ(charset.codeTable[static_cast<std::size_t>(code)], expected) << "code " << code;
    }
}

INSTANTIATE_TEST_SUITE_P(Pages,
                         PanelCharsetWindowsTable,
                         testing::Values(CWindowsTableCase{"Western", 3, "CP1252", {0x81, 0x8D, 0x8F, 0x90, 0x9D}},
                                         CWindowsTableCase{
                                             "CentralEurope", 9, "CP1250", {0x81, 0x83, 0x88, 0x90, 0x98}},
                                         CWindowsTableCase{"Russian", 6, "CP1251", {0x98}}),
                         CaseName<CWindowsTableCase>);

TEST(PanelCharset, JapaneseAndLanguage12Tables)
{
    const CPanelCharset& japanese = PanelCharsetFor(11);
    const std::pair<int, char16_t> japaneseRows[] = {{0x41, u'A'},
                                                     {0x5C, u'\\'},
                                                     {0x80, 0x80},
                                                     {0x81, 0x30FB},
                                                     {0x9F, 0x30FB},
                                                     {0xA0, 0xF8F0},
                                                     {0xA1, 0xFF61},
                                                     {0xB1, 0xFF71},
                                                     {0xDF, 0xFF9F},
                                                     {0xE0, 0x30FB},
                                                     {0xFC, 0x30FB},
                                                     {0xFD, 0xF8F1},
                                                     {0xFE, 0xF8F2},
                                                     {0xFF, 0xF8F3}};
    for (const auto& [code, unit] : japaneseRows) {
        EXPECT_EQ(japanese.codeTable[static_cast<std::size_t>(code)], unit) << "code " << code;
    }

    const CPanelCharset& western = PanelCharsetFor(0);
    const CPanelCharset& language12 = PanelCharsetFor(12);
    for (std::size_t code = 0; code < 256; ++code) {
        const char16_t expected = code == 0xAA ? 0x015E : code == 0xBA ? 0x015F : western.codeTable[code];
        EXPECT_EQ(language12.codeTable[code], expected) << "code " << code;
    }
}

// A name takes a character when the first code standing for it is one the keypad offers; a set held
// apart from the prepared ones is searched and must answer alike.
TEST(PanelCharset, AllowsTheUnitsWhoseFirstCodeTheKeypadOffers)
{
    for (const std::int32_t language : {0, 6, 7, 11, 12}) {
        const CPanelCharset& charset = PanelCharsetFor(language);
        std::array<char16_t, 256> table{};
        std::copy(charset.codeTable.begin(), charset.codeTable.end(), table.begin());
        const std::vector<std::uint8_t> codes(charset.allowedCodes.begin(), charset.allowedCodes.end());
        const CPanelCharset apart{table, codes};
        std::vector<char32_t> units{0, 0xFFFF, 0x10000, 0x1F600};
        for (const char16_t unit : table) {
            units.insert(units.end(), {unit, static_cast<char32_t>(unit + 1)});
        }
        for (const char32_t unit : units) {
            const auto code = PanelCharsetCode(charset, unit);
            const bool offered = code && *code != 0 && std::ranges::find(codes, *code) != codes.end();
            EXPECT_EQ(PanelCharsetAllows(charset, unit), offered)
                << "language " << language << " unit " << static_cast<std::uint32_t>(unit);
            EXPECT_EQ(PanelCharsetAllows(apart, unit), offered)
                << "language " << language << " unit " << static_cast<std::uint32_t>(unit);
        }
    }
}

// Which set each language takes, told by codes that the device's keypad charts put in one set and
// leave out of the others.
TEST(PanelCharset, LanguagesChooseTheirSets)
{
    const auto allows = [](std::int32_t language, std::uint8_t code) {
        const auto codes = PanelCharsetFor(language).allowedCodes;
        return std::find(codes.begin(), codes.end(), code) != codes.end();
    };
    const struct
    {
        std::int32_t language;
        std::vector<std::uint8_t> allowed;
        std::vector<std::uint8_t> refused;
    } rows[] = {
        // Western: the inverted marks, Œ/œ and the Icelandic letters; no Š (0x8A) nor Cyrillic.
        {0, {0xBF, 0xA1, 0x8C, 0x9C, 0xD0, 0xDE, 0xFE}, {0x8A, 0xAA, 0x00}},
        {5, {0xBF, 0x8C, 0xDE}, {0x8A}},
        {13, {0xBF, 0x8C, 0xDE}, {0x8A}},
        {-1, {0xBF, 0x8C, 0xDE}, {0x8A}},
        // Language 12: Ş and ş at 0xAA and 0xBA, and none of Œ, œ, Ð, Þ.
        {12, {0xAA, 0xBA, 0xBF}, {0x8C, 0x9C, 0xD0, 0xDE}},
        // Central Europe: Ą, ą, Ł and ł; no inverted exclamation mark.
        {7, {0xA5, 0xB9, 0xA3, 0xB3, 0xAA}, {0xA1, 0x8A}},
        {10, {0xA5, 0xB9}, {0xA1}},
        // Russian: the Cyrillic capital A and Ё; no inverted question mark.
        {6, {0xC0, 0xA8, 0xB8, 0xE0}, {0xBF, 0xA1}},
        // Japanese: half-width katakana, carriage return and line feed.
        {11, {0xB1, 0xA7, 0xDF, 0x0D, 0x0A}, {0xE0, 0x8C}},
    };
    for (const auto& row : rows) {
        for (const std::uint8_t code : row.allowed) {
            EXPECT_TRUE(allows(row.language, code)) << "language " << row.language << " code " << int(code);
        }
        for (const std::uint8_t code : row.refused) {
            EXPECT_FALSE(allows(row.language, code)) << "language " << row.language << " code " << int(code);
        }
    }
    EXPECT_EQ(&PanelCharsetFor(99), &PanelCharsetFor(0));
}

struct CTypingCase
{
    std::string name;
    std::int32_t kind;
    std::int32_t language;
    std::u16string field;
    char32_t ch;
    bool accepted;
};

class InputCharsTyping : public testing::TestWithParam<CTypingCase>
{
};

TEST_P(InputCharsTyping, FiltersOneCharacter)
{
    const CTypingCase& param = GetParam();
    CValueStore store;
    SetPanelLanguage(store, param.language);
    EXPECT_EQ(IsCharAccepted(param.ch, EditRulesForKind(param.kind), param.field, store), param.accepted);
}

INSTANTIATE_TEST_SUITE_P(Kinds,
                         InputCharsTyping,
                         testing::Values(CTypingCase{"Kind2Letter", 2, 0, u"", U'a', false},
                                         CTypingCase{"Kind2Hyphen", 2, 0, u"1", U'-', false},
                                         CTypingCase{"Kind2Digit", 2, 0, u"", U'7', true},
                                         CTypingCase{"Kind2Backspace", 2, 0, u"1", kCharBackspace, true},
                                         CTypingCase{"Kind16HyphenFirst", 16, 0, u"", U'-', false},
                                         CTypingCase{"Kind16CommaAfterComma", 16, 0, u"1,", U',', false},
                                         CTypingCase{"Kind16HyphenAfterComma", 16, 0, u"1,", U'-', false},
                                         CTypingCase{"Kind16CommaAfterDigit", 16, 0, u"1-3", U',', true},
                                         CTypingCase{"Kind1HyphenFirst", 1, 0, u"", U'-', true},
                                         CTypingCase{"Kind5Pause", 5, 0, u"12", U'P', true},
                                         CTypingCase{"Kind5SmallP", 5, 0, u"12", U'p', false},
                                         CTypingCase{"Kind9Pause", 9, 0, u"12", U'P', false},
                                         CTypingCase{"Kind7TildeJapanese", 7, 11, u"", U'~', false},
                                         CTypingCase{"Kind15TildeJapanese", 15, 11, u"", U'~', true},
                                         CTypingCase{"Kind7Backslash", 7, 0, u"", U'\\', false},
                                         CTypingCase{"Kind17Backslash", 17, 0, u"", U'\\', true},
                                         CTypingCase{"Kind7Semicolon", 7, 0, u"", U';', false},
                                         CTypingCase{"Kind7Return", 7, 0, u"a", kCharCarriageReturn, false},
                                         CTypingCase{"Kind18Return", 18, 0, u"a", kCharCarriageReturn, true},
                                         CTypingCase{"Kind14Period", 14, 0, u"", U'.', true},
                                         CTypingCase{"UnknownKindLetter", 13, 0, u"", U'a', false},
                                         CTypingCase{"UnknownKindBackspace", 13, 0, u"x", kCharBackspace, true},
                                         CTypingCase{"RussianCapitalA", 6, 6, u"", U'\u0410', true},
                                         CTypingCase{"RussianInvertedQuestion", 6, 6, u"", U'\u00BF', false},
                                         CTypingCase{"WesternInvertedQuestion", 6, 0, u"", U'\u00BF', true},
                                         CTypingCase{"WesternCyrillic", 6, 0, u"", U'\u0410', false},
                                         CTypingCase{"WesternUndefinedCode", 6, 0, u"", U'\u0081', false},
                                         CTypingCase{"UnlistedLanguageIsWestern", 6, 13, u"", U'\u00E9', true},
                                         CTypingCase{"JapaneseKatakana", 6, 11, u"", U'\uFF71', true},
                                         CTypingCase{"JapaneseHalfWidthStop", 6, 11, u"", U'\uFF61', false},
                                         CTypingCase{"JapaneseBackslash", 6, 11, u"", U'\\', false},
                                         CTypingCase{"JapaneseReturn", 6, 11, u"", kCharCarriageReturn, false},
                                         CTypingCase{"JapaneseLineFeed", 6, 11, u"", kCharLineFeed, false},
                                         CTypingCase{"Language12SCedilla", 6, 12, u"", U'\u015E', true},
                                         CTypingCase{"Language12Ordinal", 6, 12, u"", U'\u00AA', false},
                                         CTypingCase{"WesternSCedilla", 6, 0, u"", U'\u015E', false},
                                         CTypingCase{"CzechAOgonek", 6, 7, u"", U'\u0105', true},
                                         CTypingCase{"WesternAOgonek", 6, 0, u"", U'\u0105', false},
                                         CTypingCase{"PanelTab", 6, 0, u"", kCharTab, false},
                                         CTypingCase{"PanelPaste", 6, 6, u"", kCharCtrlV, true},
                                         CTypingCase{"Kind1Letter", 1, 0, u"12", U'a', false},
                                         CTypingCase{"Kind3Minus", 3, 0, u"", U'-', true},
                                         CTypingCase{"Kind3Letter", 3, 0, u"-5", U'x', false},
                                         CTypingCase{"Kind4Space", 4, 0, u"4", U' ', false},
                                         CTypingCase{"Kind5Hash", 5, 0, u"0", U'#', true},
                                         CTypingCase{"Kind5Space", 5, 0, u"0", U' ', true},
                                         CTypingCase{"WesternEuroSign", 6, 0, u"", U'\u20AC', true},
                                         CTypingCase{"WesternCurrencySign", 6, 0, u"", U'\u00A4', false},
                                         CTypingCase{"CzechCapitalSCaron", 6, 7, u"", U'\u0160', false},
                                         CTypingCase{"CzechSmallSCaron", 6, 7, u"", U'\u0161', true},
                                         CTypingCase{"JapaneseTilde", 6, 11, u"", U'~', false},
                                         CTypingCase{"Kind7Tilde", 7, 0, u"a", U'~', true},
                                         CTypingCase{"Kind7Quote", 7, 0, u"a", U'"', false},
                                         CTypingCase{"Kind7Less", 7, 0, u"a", U'<', false},
                                         CTypingCase{"Kind8Hyphen", 8, 0, u"a", U'-', false},
                                         CTypingCase{"Kind8Period", 8, 0, u"a", U'.', false},
                                         CTypingCase{"Kind8Digit", 8, 0, u"a", U'9', true},
                                         CTypingCase{"Kind9Hash", 9, 0, u"1", U'#', true},
                                         CTypingCase{"Kind10Hyphen", 10, 0, u"host", U'-', true},
                                         CTypingCase{"Kind10Period", 10, 0, u"host", U'.', false},
                                         CTypingCase{"Kind11Plus", 11, 0, u"", U'+', true},
                                         CTypingCase{"Kind11Letter", 11, 0, u"+49", U'a', false},
                                         CTypingCase{"Kind14Underscore", 14, 0, u"a", U'_', false},
                                         CTypingCase{"Kind15Quote", 15, 0, u"a", U'"', true},
                                         CTypingCase{"Kind15Accented", 15, 0, u"a", U'\u00E9', false},
                                         CTypingCase{"Kind17Semicolon", 17, 0, u"srv", U';', false},
                                         CTypingCase{"Kind18Tilde", 18, 0, u"a", U'~', true},
                                         CTypingCase{"Kind18Quote", 18, 0, u"a", U'"', false},
                                         CTypingCase{"Kind12Digit", 12, 0, u"", U'1', false},
                                         CTypingCase{"Kind99Digit", 99, 0, u"", U'1', false}),
                         CaseName<CTypingCase>);

TEST(InputCharsTyping, CopyAndCutFollowTheNoCopyCutFlag)
{
    CValueStore store;
    for (const std::int32_t kind : {8, 6}) {
        CEditRules rules = EditRulesForKind(kind);
        EXPECT_TRUE(IsCharAccepted(kCharCtrlC, rules, u"secret", store)) << kind;
        rules.noCopyCut = true;
        EXPECT_FALSE(IsCharAccepted(kCharCtrlC, rules, u"secret", store)) << kind;
        EXPECT_FALSE(IsCharAccepted(kCharCtrlX, rules, u"secret", store)) << kind;
        EXPECT_TRUE(IsCharAccepted(kCharCtrlV, rules, u"secret", store)) << kind;
        EXPECT_TRUE(IsCharAccepted(kCharCtrlZ, rules, u"secret", store)) << kind;
    }
}

TEST(InputCharsTyping, SeparatorRuleStillNeedsTheMask)
{
    CValueStore store;
    CEditRules rules = EditRulesForKind(2);
    rules.separatorRule = true;
    EXPECT_FALSE(IsCharAccepted(U',', rules, u"12", store));
    rules = EditRulesForKind(16);
    rules.separatorRule = false;
    EXPECT_TRUE(IsCharAccepted(U',', rules, u"1,", store));
}

TEST(InputCharsTyping, PanelLanguageIsReadAtEveryCharacter)
{
    CValueStore store;
    const CEditRules name = EditRulesForKind(6);
    EXPECT_FALSE(IsCharAccepted(U'\uFF71', name, u"", store));
    SetPanelLanguage(store, 11);
    EXPECT_TRUE(IsCharAccepted(U'\uFF71', name, u"", store));
    EXPECT_FALSE(IsInputTextValid(u"a~", 7, store));
    SetPanelLanguage(store, 3);
    EXPECT_TRUE(IsInputTextValid(u"a~", 7, store));
}

struct CTextCase
{
    std::string name;
    std::int32_t kind;
    std::int32_t language;
    std::u16string text;
    bool valid;
};

class InputCharsText : public testing::TestWithParam<CTextCase>
{
};

TEST_P(InputCharsText, ChecksTheWholeText)
{
    const CTextCase& param = GetParam();
    CValueStore store;
    SetPanelLanguage(store, param.language);
    EXPECT_EQ(IsInputTextValid(param.text, param.kind, store), param.valid);
}

INSTANTIATE_TEST_SUITE_P(Kinds,
                         InputCharsText,
                         testing::Values(CTextCase{"EmptyDigits", 2, 0, u"", true},
                                         CTextCase{"EmptyUnknownKind", 99, 0, u"", true},
                                         CTextCase{"UnknownKind", 99, 0, u"1", false},
                                         CTextCase{"Kind2Letter", 2, 0, u"12a", false},
                                         CTextCase{"Kind16List", 16, 0, u"1-3,7", true},
                                         CTextCase{"Kind16TrailingComma", 16, 0, u"1-3,", false},
                                         CTextCase{"Kind16TrailingHyphen", 16, 0, u"7-", false},
                                         CTextCase{"Kind16Letter", 16, 0, u"1,a", false},
                                         CTextCase{"Kind5Number", 5, 0, u"03-1234 P#*", true},
                                         CTextCase{"Kind9Pause", 9, 0, u"03-1234 P#*", false},
                                         CTextCase{"Kind7TildeJapanese", 7, 11, u"~user", false},
                                         CTextCase{"Kind17TildeJapanese", 17, 11, u"~user", true},
                                         CTextCase{"Kind7SmbPath", 7, 0, u"\\\\server\\share", false},
                                         CTextCase{"Kind17SmbPath", 17, 0, u"\\\\server\\share", true},
                                         CTextCase{"Kind18Lines", 18, 0, u"line one\r\nline two", true},
                                         CTextCase{"Kind7Lines", 7, 0, u"line one\r\nline two", false},
                                         CTextCase{"Kind15Accent", 15, 0, u"Caf\u00E9", false},
                                         CTextCase{"Kind15Emoji", 15, 0, u"a\U0001F600", false},
                                         CTextCase{"WesternName", 6, 0, u"Caf\u00E9 \u00C6gir", true},
                                         CTextCase{"RussianName", 6, 6, u"\u0418\u0432\u0430\u043D", true},
                                         CTextCase{"CzechName", 6, 7, u"\u0160\u0165astn\u00FD", false},
                                         CTextCase{"CzechNameSmall", 6, 7, u"\u0161\u0165astn\u00FD", true},
                                         CTextCase{"JapaneseName", 6, 11, u"\uFF71\uFF72\uFF73 A1", true},
                                         CTextCase{"JapaneseNameWithLineFeed", 6, 11, u"\uFF71\n\uFF72", false},
                                         CTextCase{
                                             "PanelLoneSurrogate", 6, 0, std::u16string(1, char16_t(0xD800)), false}),
                         CaseName<CTextCase>);

// The process code page is shared: every test here puts Windows-1252 back.
class InputCharsDoubleBytePage : public testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(SetProcessCodePage("CP932")); }
    void TearDown() override { SetProcessCodePage(kDefaultCodePage); }

    CValueStore m_store;
};

TEST_F(InputCharsDoubleBytePage, RefusesDoubleByteCharactersOutsideNames)
{
    EXPECT_FALSE(IsInputTextValid(u"\u65E5\u672C", 15, m_store));
    EXPECT_TRUE(IsInputTextValid(u"abc~\\", 15, m_store));
    EXPECT_FALSE(IsCharAccepted(U'\u65E5', EditRulesForKind(15), u"", m_store));
    EXPECT_FALSE(IsCharAccepted(U'\u3042', EditRulesForKind(7), u"", m_store));
}

TEST_F(InputCharsDoubleBytePage, NamesFollowThePanelAlone)
{
    SetPanelLanguage(m_store, 11);
    EXPECT_TRUE(IsInputTextValid(u"\uFF71\uFF72", 6, m_store));
    EXPECT_FALSE(IsInputTextValid(u"\u65E5", 6, m_store));
    EXPECT_FALSE(IsInputTextValid(u"\u30FB", 6, m_store)) << "the mark of codes the panel lacks";
    EXPECT_TRUE(IsCharAccepted(U'\uFF71', EditRulesForKind(6), u"", m_store));
    // Cyrillic takes two bytes in this page, yet a Russian panel holds it in one.
    SetPanelLanguage(m_store, 6);
    EXPECT_TRUE(IsInputTextValid(u"\u0418\u0432\u0430\u043D", 6, m_store));
}

TEST_F(InputCharsDoubleBytePage, ADoubleByteCharacterAlsoDropsTheNextMessage)
{
    bool skipNext = false;
    const CEditRules rules = EditRulesForKind(15);
    EXPECT_FALSE(FilterTypedChar(U'\u65E5', rules, u"", m_store, skipNext));
    EXPECT_TRUE(skipNext);
    EXPECT_FALSE(FilterTypedChar(U'a', rules, u"", m_store, skipNext));
    EXPECT_FALSE(skipNext);
    EXPECT_TRUE(FilterTypedChar(U'a', rules, u"", m_store, skipNext));
    EXPECT_FALSE(FilterTypedChar(U'\uFF71', rules, u"", m_store, skipNext)) << "one byte here, refused by the mask";
    EXPECT_FALSE(skipNext);
    SetPanelLanguage(m_store, 6);
    EXPECT_TRUE(FilterTypedChar(U'\u0410', EditRulesForKind(6), u"", m_store, skipNext));
    EXPECT_FALSE(skipNext) << "two bytes in this page, one on a Russian panel";
}

TEST(InputChars, ASingleBytePageNeverSkips)
{
    const CValueStore store;
    bool skipNext = false;
    EXPECT_FALSE(FilterTypedChar(U'\u20AC', EditRulesForKind(15), u"", store, skipNext)) << "the euro sign";
    EXPECT_FALSE(FilterTypedChar(U'\u65E5', EditRulesForKind(15), u"", store, skipNext)) << "no byte at all";
    EXPECT_FALSE(skipNext);
    EXPECT_TRUE(FilterTypedChar(U'7', EditRulesForKind(2), u"", store, skipNext));
}

} // namespace
} // namespace qzb
