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
constexpr CControlDef ModelRadio(CControlDef control, std::uint32_t mask)
{
    control.modelMask = mask;
    control.hideExcluded = Hides(mask);
    return control;
}

constexpr CControlDef Slider(std::int32_t id,
                             std::string_view name,
                             std::string_view item,
                             std::int32_t minimum,
                             std::int32_t maximum,
                             std::int32_t offset,
                             std::int32_t row)
{
    return {.id = id,
            .kind = ControlKind::Slider,
            .name = name,
            .binding = Binding::Slider,
            .item = item,
            .minimum = minimum,
            .maximum = maximum,
            .offset = offset,
            .row = row,
            .column = 1};
}

constexpr CControlDef ValueLabel(std::int32_t id, std::string_view name, std::int32_t row)
{
    return {.id = id, .name = name, .row = row, .column = 2};
}

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
    Label(1710, "scanResolutionLabel", "STR_SS_TXT_RESOLUTION", 0),
    RadioButton(
        kResolution150, "resolution150Radio", "STR_SS_RDO_RESOLUTION_150", "SCANNER_RESOLUTION", 1, 0, true, 0, 1),
    RadioButton(1712, "resolution300Radio", "STR_SS_RDO_RESOLUTION_300", "SCANNER_RESOLUTION", 1, 1, false, 0, 2),
    ModelRadio(
        RadioButton(
            kResolution600, "resolution600Radio", "STR_SS_RDO_RESOLUTION_600", "SCANNER_RESOLUTION", 1, 2, false, 0, 3),
        kLargeOnly),
    Label(1714, "imageFormatLabel", "STR_SS_TXT_IMAGE_FORMAT", 1),
    RadioButton(1715, "tiffRadio", "STR_SS_RDO_TIFF", "SCANNER_IMAGE_FORMAT", 2, 0, true, 1, 1),
    RadioButton(1716, "pdfRadio", "STR_SS_RDO_PDF", "SCANNER_IMAGE_FORMAT", 2, 1, false, 1, 2),
    RadioButton(1717, "jpegRadio", "STR_SS_RDO_JPEG", "SCANNER_IMAGE_FORMAT", 2, 2, false, 1, 3),
    Label(1718, "codingMethodLabel", "STR_SS_TXT_CODING_METHOD", 2),
    RadioButton(1719, "mhRadio", "STR_SS_RDO_MH", "SCANNER_CODING_METHOD", 3, 0, true, 2, 1),
    RadioButton(1720, "mrRadio", "STR_SS_RDO_MR", "SCANNER_CODING_METHOD", 3, 1, false, 2, 2),
    RadioButton(1721, "mmrRadio", "STR_SS_RDO_MMR", "SCANNER_CODING_METHOD", 3, 2, false, 2, 3),
    Label(1722, "fileSizeLabel", "STR_SS_TXT_FILE_SIZE", 3),
    RadioButton(1723, "noSplitRadio", "STR_SS_RDO_NO_SPLIT", "SCANNER_FILE_SIZE_SPLIT", 4, 0, true, 3, 1),
    RadioButton(kSplit, "splitRadio", "STR_SS_RDO_SPLIT", "SCANNER_FILE_SIZE_SPLIT", 4, 1, false, 3, 2),
    {.id = kFileSize,
     .kind = ControlKind::Combo,
     .name = "fileSizeCombo",
     .binding = Binding::Combo,
     .item = "SCANNER_FILE_SIZE",
     .choices = kFileSizes,
     .row = 3,
     .column = 3},
    Label(1727, "scanDensityLabel", "STR_SS_TXT_DENSITY", 4),
    Slider(1728, "scanDensitySlider", "SCANNER_DENSITY_LEVEL", -2, 2, 2, 4),
    Label(1730, "scanQualityLabel", "STR_SS_TXT_QUALITY_PRIORITY", 5),
    RadioButton(1731, "scanTextRadio", "STR_SS_RDO_TEXT", "SCANNER_QUALITY_PRIORITY", 5, 0, true, 5, 1),
    RadioButton(1732, "scanPhotoRadio", "STR_SS_RDO_PHOTO", "SCANNER_QUALITY_PRIORITY", 5, 1, false, 5, 2),
    RadioButton(1733, "scanMixRadio", "STR_SS_RDO_MIX", "SCANNER_QUALITY_PRIORITY", 5, 2, false, 5, 3),
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
    {"STR_CS_CMB_QUALITY_PRIORITY_AUTO", 3, kLargeOnly},
    {"STR_CS_CMB_QUALITY_PRIORITY_FINE_MIX", 6},
    {"STR_CS_CMB_QUALITY_PRIORITY_FINE_TXT", 4},
    {"STR_CS_CMB_QUALITY_PRIORITY_FINE_PHOTO", 5},
    {"STR_CS_CMB_QUALITY_PRIORITY_FINE_AUTO", 7, kLargeOnly},
};

constexpr CControlDef kCopyControls[] = {
    Label(1150, "paperPriorityLabel", "STR_CPS_TXT_PAPER_PRIORITY", 0),
    RadioButton(1151, "copyTray1Radio", "STR_CPS_RDO_TRAY1", "COPY1_PAPER_PRIORITY", 1, 0, true, 0, 1),
    RadioButton(1152, "copyTray2Radio", "STR_CPS_RDO_TRAY2", "COPY1_PAPER_PRIORITY", 1, 1, false, 0, 2),
    ModelRadio(RadioButton(1153, "copyTray3Radio", "STR_CPS_RDO_TRAY3", "COPY1_PAPER_PRIORITY", 1, 2, false, 0, 3),
               kLargeOnly),
    Label(1154, "densityPriorityLabel", "STR_CPS_TXT_DENSITY_PRIORITY", 1),
    RadioButton(1155, "densityAutoRadio", "STR_CPS_RDO_DENSITY_AUTO", "COPY1_DENSITY_PRIORITY", 2, 0, true, 1, 1),
    RadioButton(kDensityManual,
                "densityManualRadio",
                "STR_CPS_RDO_DENSITY_MANUAL",
                "COPY1_DENSITY_PRIORITY",
                2,
                1,
                false,
                1,
                2),
    Slider(kAutoSlider, "densityAutoSlider", "COPY1_DENSITY_LEVEL_AUTO", -1, 1, 1, 2),
    ValueLabel(kAutoValue, "densityAutoValue", 2),
    Slider(kManualSlider, "densityManualSlider", "COPY1_DENSITY_LEVEL_MANUAL", -3, 3, 3, 3),
    ValueLabel(kManualValue, "densityManualValue", 3),
    Label(1161, "copyQualityLabel", "STR_CPS_TXT_QUALITY_PRIORITY", 4),
    Combo(1162, "copyQualityCombo", "COPY1_QUALITY_PRIORITY", kCopyQualities, 4),
    Label(1163, "outputPriorityLabel", "STR_CPS_TXT_OUTPUT_PRIORITY", 5),
    RadioButton(1164, "nonSortRadio", "STR_CPS_RDO_NON_SORT", "COPY1_OUTPUT_PRIORITY", 3, 0, true, 5, 1),
    RadioButton(1165, "sortRadio", "STR_CPS_RDO_SORT", "COPY1_OUTPUT_PRIORITY", 3, 1, false, 5, 2),
    Label(1166, "fourInOneLabel", "STR_CPS_TXT_4IN1_ORDER", 6, kLargeOnly),
    ModelRadio(RadioButton(1167, "sidewiseRadio", "STR_CPS_RDO_SIDEWISE", "COPY1_4IN1_COPY_ORDER", 4, 0, true, 6, 1),
               kLargeOnly),
    ModelRadio(RadioButton(1168, "downwardRadio", "STR_CPS_RDO_DOWNWARD", "COPY1_4IN1_COPY_ORDER", 4, 1, false, 6, 2),
               kLargeOnly),
    Label(1169, "duplexCopyLabel", "STR_CPS_TXT_DUPLEX_COPY", 7),
    RadioButton(1170, "longEdgeRadio", "STR_CPS_RDO_LONG_EDGE", "COPY1_DUPLEX_COPY", 5, 1, false, 7, 1),
    RadioButton(1171, "shortEdgeRadio", "STR_CPS_RDO_SHORT_EDGE", "COPY1_DUPLEX_COPY", 5, 2, false, 7, 2),
    RadioButton(1172, "duplexOffRadio", "STR_CPS_RDO_DUPLEX_OFF", "COPY1_DUPLEX_COPY", 5, 0, true, 7, 3),
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
