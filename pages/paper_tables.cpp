#include "pages/paper_tables.h"

#include "app/model_profile.h"

namespace qzb {

namespace {

constexpr CPaperSize kSizes[] = {
    {0x1, "STR_PSS_CMB_A4", 2},
    {0x2, "STR_PSS_CMB_B5", 3},
    {0x4, "STR_PSS_CMB_A5", 4},
    {0x8, "STR_PSS_CMB_LEGAL", 11},
    {0x10, "STR_PSS_CMB_LETTER", 12},
    {0x20, "STR_PSS_CMB_G_LETTER", 23},
    {0x80, "STR_PSS_CMB_STATEMENT", 24},
    {0x100, "STR_PSS_CMB_EXECUTIVE", 25},
    {0x200, "STR_PSS_CMB_FOLIO", 26},
    {0x400, "STR_PSS_CMB_G_LEGAL", 38},
    {0x800, "STR_PSS_CMB_OFICIO", 27},
    {0x1000, "STR_PSS_CMB_COM10", 30},
    {0x2000, "STR_PSS_CMB_C6", 31},
    {0x4000, "STR_PSS_CMB_DL", 32},
    {0x8000, "STR_PSS_CMB_MONARCH", 33},
    {0x10000, "STR_PSS_CMB_CHOU3", 34},
    {0x40000, "STR_PSS_CMB_JAPANESE_POSTCARD", 36},
    {0x80000, "STR_PSS_CMB_DOUBLE_POSTCARD", 37},
    {0x100000, "STR_PSS_CMB_CUSTOM", 39},
};

// Plain paper first: it is what any value no media has reads as.
constexpr CPaperMedia kMedia[] = {
    {1632, 0, 0x1, kEveryModelMask, "STR_MIC_TXT_PLAIN_PAPER"},
    {1633, 3, 0x8, 0x1, "STR_MIC_TXT_TRANSPARENCY"},
    {1634, 8, 0x10, kEveryModelMask, "STR_MIC_TXT_LABELS"},
    {1635, 9, 0x20, kEveryModelMask, "STR_MIC_TXT_LETTERHEAD"},
    {1636, 6, 0x100, kEveryModelMask, "STR_MIC_TXT_ENVELOPE"},
    {1637, 5, 0x200, kEveryModelMask, "STR_MIC_TXT_POSTCARD"},
    {1638, 7, 0x2, kEveryModelMask, "STR_MIC_TXT_THICK_PAPER"},
    {1639, 10, 0x4, kEveryModelMask, "STR_MIC_TXT_THICK_PAPER2"},
    {1640, 2, 0x40, 0x1, "STR_MIC_TXT_GLOSSY"},
    {1641, 11, 0x80, 0x1, "STR_MIC_TXT_GLOSSY2"},
};

} // namespace

std::span<const CPaperSize> PaperSizes()
{
    return kSizes;
}

std::span<const CPaperMedia> PaperMedia()
{
    return kMedia;
}

std::string_view PaperSizeKey(std::int32_t value)
{
    for (const CPaperSize& size : kSizes) {
        if (size.value == value) {
            return size.textKey;
        }
    }
    return {};
}

std::string_view PaperMediaKey(std::int32_t value)
{
    for (const CPaperMedia& media : kMedia) {
        if (media.value == value) {
            return media.nameKey;
        }
    }
    return kMedia[0].nameKey;
}

} // namespace qzb
