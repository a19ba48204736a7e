#include "model/panel_code.h"

#include "model/value_store.h"

#include <gtest/gtest.h>

#include <ctime>
#include <string>

namespace qzb {
namespace {

struct DecodeCase
{
    std::int32_t language;
    std::uint8_t code;
    char16_t unit;
};

class PanelDecodeTest : public testing::TestWithParam<DecodeCase>
{
};

TEST_P(PanelDecodeTest, PicksTheUnitOfTheLanguage)
{
    const DecodeCase& c = GetParam();
    const char bytes[] = {static_cast<char>(c.code), '\0'};
    EXPECT_EQ(PanelBytesToText(bytes, c.language), std::u16string(1, c.unit));
}

INSTANTIATE_TEST_SUITE_P(Bytes,
                         PanelDecodeTest,
                         testing::Values(DecodeCase{11, 0xB1, u'\uFF71'}, // the Japanese table wins on a Japanese panel
                                         DecodeCase{0, 0xB1, u'\u0104'},
                                         DecodeCase{7, 0xDB, u'\u0110'}, // Central European override
                                         DecodeCase{0, 0xDB, u'\u00D0'},
                                         DecodeCase{12, 0xDB, u'\u00D0'},
                                         DecodeCase{10, 0xED, u'\u013A'},
                                         DecodeCase{6, 0xED, u'\u00ED'},
                                         DecodeCase{0, 0x41, u'A'}, // the Cyrillic look-alike rows never decode
                                         DecodeCase{6, 0x41, u'A'},
                                         DecodeCase{7, 0x41, u'A'},
                                         DecodeCase{11, 0x41, u'A'},
                                         DecodeCase{6, 0x80, u'\u0411'},
                                         DecodeCase{0, 0x18, u'\u20AC'},
                                         DecodeCase{11, 0x7E, u'~'}, // no Japanese pair: the main table's stays
                                         DecodeCase{11, 0xDE, u'\uFF9E'}, // Japanese overrides the main table
                                         DecodeCase{0, 0xDE, u'\u00DE'},
                                         DecodeCase{0, 0xAF, u'\uFF6F'}, // a gap in the main table falls to Japanese
                                         DecodeCase{0, 0xFF, u'\uF8F3'},
                                         DecodeCase{0, 0x1C, u'\u001C'}, // no table: the byte itself
                                         DecodeCase{11, 0x7F, u'\u007F'},
                                         DecodeCase{13, 0xDB, u'\u00D0'}, // unknown languages read as western
                                         DecodeCase{-1, 0xED, u'\u00ED'}));

struct EncodeCase
{
    char16_t unit;
    std::uint8_t code;
};

class PanelEncodeTest : public testing::TestWithParam<EncodeCase>
{
};

TEST_P(PanelEncodeTest, ConsultsEveryTable)
{
    EXPECT_EQ(UnitToPanelCode(GetParam().unit), GetParam().code);
}

INSTANTIATE_TEST_SUITE_P(Units,
                         PanelEncodeTest,
                         testing::Values(EncodeCase{u'\u0410', 0x41},
                                         EncodeCase{u'\u0445', 0x78},
                                         EncodeCase{u'\u0110', 0xDB},
                                         EncodeCase{u'\u00D0', 0xDB},
                                         EncodeCase{u'\u013A', 0xED},
                                         EncodeCase{u'\uFF71', 0xB1},
                                         EncodeCase{u'\u0104', 0xB1},
                                         EncodeCase{u'\u20AC', 0x18},
                                         EncodeCase{u'\uFF9E', 0xDE},
                                         EncodeCase{u'\u00DE', 0xDE},
                                         EncodeCase{u'A', 0x41},
                                         EncodeCase{u'\u4E00', 0},
                                         EncodeCase{u'\u001C', 0x1C},
                                         EncodeCase{u'\0', 0}));

// Whatever a byte decodes to in any language encodes back to the same byte, control codes and codes
// no table has a pair for included. This catches a code typed wrongly in any of the three tables.
TEST(PanelCode, EveryCodeSurvivesARoundTrip)
{
    for (std::int32_t language = 0; language <= 13; ++language) {
        const std::uint32_t mask = LanguageGroupMask(language);
        for (int code = 1; code <= 0xFF; ++code) {
            const char16_t unit = PanelCodeToUnit(static_cast<std::uint8_t>(code), mask);
            EXPECT_EQ(UnitToPanelCode(unit), code) << "language " << language << " code " << code;
        }
    }
}

// The panel's letter blocks as a western panel shows them, by the rows the device's code chart
// gives: each block's ends and a few letters between; the codes without a letter of their own fall
// to half-width katakana.
TEST(PanelCode, LetterBlocksReadAsThePanelShowsThem)
{
    const struct
    {
        std::uint8_t code;
        char16_t unit;
    } chart[] = {
        {0x80, u'\u0411'},
        {0x82, u'\u0401'},
        {0x95, u'\u0451'},
        {0xA7, u'\u044F'},
        {0xA8, u'\u0414'},
        {0xAE, u'\u0449'},
        {0xB0, u'\u0141'},
        {0xB1, u'\u0104'},
        {0xB6, u'\u00A1'},
        {0xC9, u'\u0111'},
        {0xD0, u'\u00BF'},
        {0xD4, u'\u0171'},
        {0xDB, u'\u00D0'},
        {0xDD, u'\u00D8'},
        {0x18, u'\u20AC'},
        {0x19, u'\u00A2'},
        {0x1A, u'\u00A3'},
        {0x1B, u'\u00B5'},
    };
    for (const auto& row : chart) {
        const char byte = static_cast<char>(row.code);
        EXPECT_EQ(PanelBytesToText(std::string_view(&byte, 1), 0), std::u16string(1, row.unit))
            << "code " << int(row.code);
    }
    for (const std::uint8_t gap : {0xB8, 0xD3, 0xD5, 0xD6, 0xD8}) {
        const char byte = static_cast<char>(gap);
        const std::u16string text = PanelBytesToText(std::string_view(&byte, 1), 0);
        ASSERT_EQ(text.size(), 1u) << "code " << int(gap);
        EXPECT_TRUE(text[0] >= u'\uFF61' && text[0] <= u'\uFF9F') << "code " << int(gap);
    }
}

TEST(PanelCode, DecodingStopsAtTheTerminatorOrTheFieldEnd)
{
    EXPECT_EQ(PanelBytesToText("", 0), u"");
    EXPECT_EQ(PanelBytesToText(std::string_view("AB\0CD", 5), 0), u"AB");
    const char full[3] = {'x', 'y', 'z'};
    EXPECT_EQ(PanelBytesToText(std::string_view(full, sizeof full), 0), u"xyz") << "no terminator in the field";
}

TEST(PanelCode, EncodingEndsAtTheFirstUnknownUnit)
{
    EXPECT_EQ(TextToPanelBytes(u""), "");
    EXPECT_EQ(TextToPanelBytes(u"АВЕКМНОРСТХЬаеорсух"), "ABEKMHOPCTXbaeopcyx") << "Cyrillic look-alikes";
    EXPECT_EQ(TextToPanelBytes(u"\u0410\u0104x"), "\x41\xB1x");
    EXPECT_EQ(TextToPanelBytes(u"AB\u4E00CD"), "AB");
    EXPECT_EQ(TextToPanelBytes(u"\U0001F600A"), "") << "a surrogate pair is two unknown units";
    EXPECT_EQ(TextToPanelBytes(u"ABCDEF", 4), "ABCD");
    EXPECT_EQ(TextToPanelBytes(u"AB", 4), "AB");
    EXPECT_EQ(TextToPanelBytes(u"AB", 0), "");
}

TEST(PanelCode, LanguageIsReadFromTheStoreAtEveryCall)
{
    CValueStore store;
    store.SetItemNumber(kPanelLanguagePage, kPanelLanguageKey, 11);
    EXPECT_EQ(PanelLanguage(store), 11);
    EXPECT_EQ(PanelBytesToText("\xB1", store), u"\uFF71");
    store.SetItemNumber(kPanelLanguagePage, kPanelLanguageKey, 0);
    EXPECT_EQ(PanelBytesToText("\xB1", store), u"\u0104");
}

TEST(PanelField, CutsAtTheFieldAndKeepsItsTerminator)
{
    CPanelField<5> field(TextToPanelBytes(u"ABCDEFG"));
    EXPECT_EQ(field.View(), "ABCD");
    EXPECT_EQ(field.Bytes().back(), '\0');

    field.Assign("Z");
    EXPECT_EQ(field.View(), "Z");
    EXPECT_EQ(field.Bytes(), (std::array<char, 5>{'Z', 0, 0, 0, 0})) << "no stale bytes after the terminator";

    field.Assign(std::string_view("Q\0R", 3));
    EXPECT_EQ(field.Bytes(), (std::array<char, 5>{'Q', 0, 0, 0, 0}));

    field.Assign(TextToPanelBytes(u""));
    EXPECT_TRUE(field.Empty());
    EXPECT_EQ(field, CPanelField<5>());
}

struct DateCase
{
    int year;
    unsigned month;
    unsigned day;
    std::uint16_t packed;
};

class DeviceDateTest : public testing::TestWithParam<DateCase>
{
};

TEST_P(DeviceDateTest, PacksDayMonthAndYear)
{
    const DateCase& c = GetParam();
    const std::chrono::year_month_day date{
        std::chrono::year(c.year), std::chrono::month(c.month), std::chrono::day(c.day)};
    EXPECT_EQ(PackDeviceDate(date), c.packed);
    if (c.packed != 0) {
        EXPECT_EQ(UnpackDeviceDate(c.packed), (CDeviceDate{c.year, c.month, c.day}));
    }
}

INSTANTIATE_TEST_SUITE_P(Dates,
                         DeviceDateTest,
                         testing::Values(DateCase{2024, 3, 15, (24 << 9) | (3 << 5) | 15},
                                         DateCase{2000, 1, 1, (1 << 5) | 1},
                                         DateCase{2127, 12, 31, (127 << 9) | (12 << 5) | 31},
                                         DateCase{1999, 12, 31, 0}, // before the year field starts
                                         DateCase{2128, 1, 1, 0}, // past what seven bits hold
                                         DateCase{2023, 2, 29, 0}));

TEST(DeviceDate, TodayIsTheLocalDate)
{
    const auto localToday = [] {
        const std::time_t now = std::time(nullptr);
        std::tm local{};
        localtime_r(&now, &local);
        return CDeviceDate{local.tm_year + 1900,
                           static_cast<std::uint32_t>(local.tm_mon + 1),
                           static_cast<std::uint32_t>(local.tm_mday)};
    };
    const CDeviceDate before = localToday();
    const CDeviceDate packed = UnpackDeviceDate(PackDeviceDate());
    const CDeviceDate after = localToday();
    EXPECT_TRUE(packed == before || packed == after);
}

} // namespace
} // namespace qzb
