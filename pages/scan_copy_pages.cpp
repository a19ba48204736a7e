#include "pages/scan_copy_pages.h"

#include "pages/control_rows.h"
#include "pages/page.h"

#include <cstdio>
#include <string>

namespace qzb {

using namespace rows;

namespace {

constexpr std::uint32_t kLargeOnly = 0x1; // the model of bit 0x1

// A radio button that only the models of mask show; elsewhere it is hidden and disabled.
std::u16string Decimal(std::int32_t value)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%i", static_cast<int>(value));
    return std::u16string(buffer, buffer + std::char_traits<char>::length(buffer));
}

// ---- Scan -------------------------------------------------------------------------------------

constexpr std::int32_t kResolution150 = 1711;
constexpr std::int32_t kResolution600 = 1713;
constexpr std::int32_t kSplit = 1724;
constexpr std::int32_t kFileSize = 1725;

constexpr CChoiceDef kFileSizes[] = {
    {"STR_SS_CMB_FILE_SIZE_1MB", 1},
    {"STR_SS_CMB_FILE_SIZE_2MB", 2},
    {"STR_SS_CMB_FILE_SIZE_3MB", 3},
    {"STR_SS_CMB_FILE_SIZE_4MB", 4},
    {"STR_SS_CMB_FILE_SIZE_5MB", 5},
    {"STR_SS_CMB_FILE_SIZE_6MB", 6},
    {"STR_SS_CMB_FILE_SIZE_7MB", 7},
    {"STR_SS_CMB_FILE_SIZE_8MB", 8},
    {"STR_SS_CMB_FILE_SIZE_9MB", 9},
    {"STR_SS_CMB_FILE_SIZE_10MB", 10},
};

// Three-way groups take 0, 1 and 2 by their buttons and anything else as the first button.
constexpr CControlDef kScanControls[] = {
    Label({.id = 1710, .name = "scanResolutionLabel", .textKey = "STR_SS_TXT_RESOLUTION", .row = 0}),
    RadioButton({.id = kResolution150,
                 .name = "resolution150Radio",
                 .textKey = "STR_SS_RDO_RESOLUTION_150",
                 .item = "SCANNER_RESOLUTION",
                 .group = 1,
                 .radioValue = 0,
                 .fallback = true,
                 .row = 0,
                 .column = 1}),
    RadioButton({.id = 1712,
                 .name = "resolution300Radio",
                 .textKey = "STR_SS_RDO_RESOLUTION_300",
                 .item = "SCANNER_RESOLUTION",
                 .group = 1,
                 .radioValue = 1,
                 .row = 0,
                 .column = 2}),
    RadioButton({.id = kResolution600,
                 .name = "resolution600Radio",
                 .textKey = "STR_SS_RDO_RESOLUTION_600",
                 .item = "SCANNER_RESOLUTION",
                 .group = 1,
                 .radioValue = 2,
                 .row = 0,
                 .column = 3,
                 .modelMask = kLargeOnly}),
    Label({.id = 1714, .name = "imageFormatLabel", .textKey = "STR_SS_TXT_IMAGE_FORMAT", .row = 1}),
    RadioButton({.id = 1715,
                 .name = "tiffRadio",
                 .textKey = "STR_SS_RDO_TIFF",
                 .item = "SCANNER_IMAGE_FORMAT",
                 .group = 2,
                 .radioValue = 0,
                 .fallback = true,
                 .row = 1,
                 .column = 1}),
    RadioButton({.id = 1716,
                 .name = "pdfRadio",
                 .textKey = "STR_SS_RDO_PDF",
                 .item = "SCANNER_IMAGE_FORMAT",
                 .group = 2,
                 .radioValue = 1,
                 .row = 1,
                 .column = 2}),
    RadioButton({.id = 1717,
                 .name = "jpegRadio",
                 .textKey = "STR_SS_RDO_JPEG",
                 .item = "SCANNER_IMAGE_FORMAT",
                 .group = 2,
                 .radioValue = 2,
                 .row = 1,
                 .column = 3}),
    Label({.id = 1718, .name = "codingMethodLabel", .textKey = "STR_SS_TXT_CODING_METHOD", .row = 2}),
    RadioButton({.id = 1719,
                 .name = "mhRadio",
                 .textKey = "STR_SS_RDO_MH",
                 .item = "SCANNER_CODING_METHOD",
                 .group = 3,
                 .radioValue = 0,
                 .fallback = true,
                 .row = 2,
                 .column = 1}),
    RadioButton({.id = 1720,
                 .name = "mrRadio",
                 .textKey = "STR_SS_RDO_MR",
                 .item = "SCANNER_CODING_METHOD",
                 .group = 3,
                 .radioValue = 1,
                 .row = 2,
                 .column = 2}),
    RadioButton({.id = 1721,
                 .name = "mmrRadio",
                 .textKey = "STR_SS_RDO_MMR",
                 .item = "SCANNER_CODING_METHOD",
                 .group = 3,
                 .radioValue = 2,
                 .row = 2,
                 .column = 3}),
    Label({.id = 1722, .name = "fileSizeLabel", .textKey = "STR_SS_TXT_FILE_SIZE", .row = 3}),
    RadioButton({.id = 1723,
                 .name = "noSplitRadio",
                 .textKey = "STR_SS_RDO_NO_SPLIT",
                 .item = "SCANNER_FILE_SIZE_SPLIT",
                 .group = 4,
                 .radioValue = 0,
                 .fallback = true,
                 .row = 3,
                 .column = 1}),
    RadioButton({.id = kSplit,
                 .name = "splitRadio",
                 .textKey = "STR_SS_RDO_SPLIT",
                 .item = "SCANNER_FILE_SIZE_SPLIT",
                 .group = 4,
                 .radioValue = 1,
                 .row = 3,
                 .column = 2}),
    {.id = kFileSize,
     .kind = ControlKind::Combo,
     .name = "fileSizeCombo",
     .binding = Binding::Combo,
     .item = "SCANNER_FILE_SIZE",
     .choices = kFileSizes,
     .row = 3,
     .column = 3},
    Label({.id = 1727, .name = "scanDensityLabel", .textKey = "STR_SS_TXT_DENSITY", .row = 4}),
    Slider({.id = 1728,
            .name = "scanDensitySlider",
            .item = "SCANNER_DENSITY_LEVEL",
            .minimum = -2,
            .maximum = 2,
            .offset = 2,
            .row = 4}),
    Label({.id = 1730, .name = "scanQualityLabel", .textKey = "STR_SS_TXT_QUALITY_PRIORITY", .row = 5}),
    RadioButton({.id = 1731,
                 .name = "scanTextRadio",
                 .textKey = "STR_SS_RDO_TEXT",
                 .item = "SCANNER_QUALITY_PRIORITY",
                 .group = 5,
                 .radioValue = 0,
                 .fallback = true,
                 .row = 5,
                 .column = 1}),
    RadioButton({.id = 1732,
                 .name = "scanPhotoRadio",
                 .textKey = "STR_SS_RDO_PHOTO",
                 .item = "SCANNER_QUALITY_PRIORITY",
                 .group = 5,
                 .radioValue = 1,
                 .row = 5,
                 .column = 2}),
    RadioButton({.id = 1733,
                 .name = "scanMixRadio",
                 .textKey = "STR_SS_RDO_MIX",
                 .item = "SCANNER_QUALITY_PRIORITY",
                 .group = 5,
                 .radioValue = 2,
                 .row = 5,
                 .column = 3}),
};

void UpdateScan(CPage& page)
{
    page.SetEnabled(kFileSize, page.IsChecked(kSplit));
}

void LoadScan(CPage& page)
{
    // Only the model of bit 0x1 scans at 600 DPI; elsewhere a stored 600 shows, and is kept, as 150.
    if (!page.AppliesToModel(kLargeOnly) && page.IsChecked(kResolution600)) {
        page.State(kResolution600).value = 0;
        page.State(kResolution150).value = 1;
    }
    UpdateScan(page);
}

void ScanChanged(CPage& page, std::int32_t)
{
    UpdateScan(page);
}

constexpr CPageRules kScanRules{.afterLoad = LoadScan, .onChange = ScanChanged};

constexpr CPageDef kScanPage{.name = "SCAN_SET_DLG",
                             .className = "CScanSetDlg",
                             .typeCode = 0x02020000,
                             .titleKey = "STR_TREE_SCAN_SETTING",
                             .ratioKey = "STR_RATIO_TREE_SCAN_SETTING",
                             .controls = kScanControls,
                             .rules = &kScanRules};

// ---- Copy -------------------------------------------------------------------------------------

constexpr std::int32_t kDensityManual = 1156;
constexpr std::int32_t kAutoSlider = 1157;
constexpr std::int32_t kManualSlider = 1158;
constexpr std::int32_t kAutoValue = 1159;
constexpr std::int32_t kManualValue = 1160;

constexpr CChoiceDef kCopyQualities[] = {
    {"STR_CS_CMB_QUALITY_PRIORITY_MIX", 2},
    {"STR_CS_CMB_QUALITY_PRIORITY_TXT", 0},
    {"STR_CS_CMB_QUALITY_PRIORITY_PHOTO", 1},
    {.textKey = "STR_CS_CMB_QUALITY_PRIORITY_AUTO", .value = 3, .modelMask = kLargeOnly},
    {"STR_CS_CMB_QUALITY_PRIORITY_FINE_MIX", 6},
    {"STR_CS_CMB_QUALITY_PRIORITY_FINE_TXT", 4},
    {"STR_CS_CMB_QUALITY_PRIORITY_FINE_PHOTO", 5},
    {.textKey = "STR_CS_CMB_QUALITY_PRIORITY_FINE_AUTO", .value = 7, .modelMask = kLargeOnly},
};

constexpr CControlDef kCopyControls[] = {
    Label({.id = 1150, .name = "paperPriorityLabel", .textKey = "STR_CPS_TXT_PAPER_PRIORITY", .row = 0}),
    RadioButton({.id = 1151,
                 .name = "copyTray1Radio",
                 .textKey = "STR_CPS_RDO_TRAY1",
                 .item = "COPY1_PAPER_PRIORITY",
                 .group = 1,
                 .radioValue = 0,
                 .fallback = true,
                 .row = 0,
                 .column = 1}),
    RadioButton({.id = 1152,
                 .name = "copyTray2Radio",
                 .textKey = "STR_CPS_RDO_TRAY2",
                 .item = "COPY1_PAPER_PRIORITY",
                 .group = 1,
                 .radioValue = 1,
                 .row = 0,
                 .column = 2}),
    RadioButton({.id = 1153,
                 .name = "copyTray3Radio",
                 .textKey = "STR_CPS_RDO_TRAY3",
                 .item = "COPY1_PAPER_PRIORITY",
                 .group = 1,
                 .radioValue = 2,
                 .row = 0,
                 .column = 3,
                 .modelMask = kLargeOnly}),
    Label({.id = 1154, .name = "densityPriorityLabel", .textKey = "STR_CPS_TXT_DENSITY_PRIORITY", .row = 1}),
    RadioButton({.id = 1155,
                 .name = "densityAutoRadio",
                 .textKey = "STR_CPS_RDO_DENSITY_AUTO",
                 .item = "COPY1_DENSITY_PRIORITY",
                 .group = 2,
                 .radioValue = 0,
                 .fallback = true,
                 .row = 1,
                 .column = 1}),
    RadioButton({.id = kDensityManual,
                 .name = "densityManualRadio",
                 .textKey = "STR_CPS_RDO_DENSITY_MANUAL",
                 .item = "COPY1_DENSITY_PRIORITY",
                 .group = 2,
                 .radioValue = 1,
                 .row = 1,
                 .column = 2}),
    Slider({.id = kAutoSlider,
            .name = "densityAutoSlider",
            .item = "COPY1_DENSITY_LEVEL_AUTO",
            .minimum = -1,
            .maximum = 1,
            .offset = 1,
            .row = 2}),
    ValueLabel({.id = kAutoValue, .name = "densityAutoValue", .row = 2}),
    Slider({.id = kManualSlider,
            .name = "densityManualSlider",
            .item = "COPY1_DENSITY_LEVEL_MANUAL",
            .minimum = -3,
            .maximum = 3,
            .offset = 3,
            .row = 3}),
    ValueLabel({.id = kManualValue, .name = "densityManualValue", .row = 3}),
    Label({.id = 1161, .name = "copyQualityLabel", .textKey = "STR_CPS_TXT_QUALITY_PRIORITY", .row = 4}),
    Combo({.id = 1162,
           .name = "copyQualityCombo",
           .item = "COPY1_QUALITY_PRIORITY",
           .choices = kCopyQualities,
           .row = 4}),
    Label({.id = 1163, .name = "outputPriorityLabel", .textKey = "STR_CPS_TXT_OUTPUT_PRIORITY", .row = 5}),
    RadioButton({.id = 1164,
                 .name = "nonSortRadio",
                 .textKey = "STR_CPS_RDO_NON_SORT",
                 .item = "COPY1_OUTPUT_PRIORITY",
                 .group = 3,
                 .radioValue = 0,
                 .fallback = true,
                 .row = 5,
                 .column = 1}),
    RadioButton({.id = 1165,
                 .name = "sortRadio",
                 .textKey = "STR_CPS_RDO_SORT",
                 .item = "COPY1_OUTPUT_PRIORITY",
                 .group = 3,
                 .radioValue = 1,
                 .row = 5,
                 .column = 2}),
    Label(
        {.id = 1166, .name = "fourInOneLabel", .textKey = "STR_CPS_TXT_4IN1_ORDER", .row = 6, .modelMask = kLargeOnly}),
    RadioButton({.id = 1167,
                 .name = "sidewiseRadio",
                 .textKey = "STR_CPS_RDO_SIDEWISE",
                 .item = "COPY1_4IN1_COPY_ORDER",
                 .group = 4,
                 .radioValue = 0,
                 .fallback = true,
                 .row = 6,
                 .column = 1,
                 .modelMask = kLargeOnly}),
    RadioButton({.id = 1168,
                 .name = "downwardRadio",
                 .textKey = "STR_CPS_RDO_DOWNWARD",
                 .item = "COPY1_4IN1_COPY_ORDER",
                 .group = 4,
                 .radioValue = 1,
                 .row = 6,
                 .column = 2,
                 .modelMask = kLargeOnly}),
    Label({.id = 1169, .name = "duplexCopyLabel", .textKey = "STR_CPS_TXT_DUPLEX_COPY", .row = 7}),
    RadioButton({.id = 1170,
                 .name = "longEdgeRadio",
                 .textKey = "STR_CPS_RDO_LONG_EDGE",
                 .item = "COPY1_DUPLEX_COPY",
                 .group = 5,
                 .radioValue = 1,
                 .row = 7,
                 .column = 1}),
    RadioButton({.id = 1171,
                 .name = "shortEdgeRadio",
                 .textKey = "STR_CPS_RDO_SHORT_EDGE",
                 .item = "COPY1_DUPLEX_COPY",
                 .group = 5,
                 .radioValue = 2,
                 .row = 7,
                 .column = 2}),
    RadioButton({.id = 1172,
                 .name = "duplexOffRadio",
                 .textKey = "STR_CPS_RDO_DUPLEX_OFF",
                 .item = "COPY1_DUPLEX_COPY",
                 .group = 5,
                 .radioValue = 0,
                 .fallback = true,
                 .row = 7,
                 .column = 3}),
};

// The density priority decides which slider is live; both keep their values.
void UpdateCopy(CPage& page)
{
    const bool manual = page.IsChecked(kDensityManual);
    page.SetEnabled(kAutoSlider, !manual);
    page.SetEnabled(kAutoValue, !manual);
    page.SetEnabled(kManualSlider, manual);
    page.SetEnabled(kManualValue, manual);
    page.SetCaption(kAutoValue, Decimal(page.State(kAutoSlider).value));
    page.SetCaption(kManualValue, Decimal(page.State(kManualSlider).value));
}

void CopyChanged(CPage& page, std::int32_t)
{
    UpdateCopy(page);
}

constexpr CPageRules kCopyRules{.afterLoad = UpdateCopy, .onChange = CopyChanged};

constexpr CPageDef kCopyPage{.name = "COPY_SET_DLG",
                             .className = "CCopySetDlg",
                             .typeCode = 0x02002000,
                             .titleKey = "STR_TREE_COPY_SETTING",
                             .ratioKey = "STR_RATIO_TREE_COPY_SETTING",
                             .controls = kCopyControls,
                             .rules = &kCopyRules};

} // namespace

const CPageDef& ScanSettingsPage()
{
    return kScanPage;
}

const CPageDef& CopySettingsPage()
{
    return kCopyPage;
}

} // namespace qzb
