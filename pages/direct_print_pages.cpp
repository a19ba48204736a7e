#include "pages/direct_print_pages.h"

#include "pages/control_rows.h"

namespace qzb {

using namespace rows;

namespace {

// Camera direct print and the memory and camera switches exist on the models of bits 0x100 and 0x200.
constexpr std::uint32_t kDirectPrintModels = 0xFF00;

constexpr CChoiceDef kImageQualities[] = {
    {"STR_CDP_CMB_IMAGE_QUALITY_DRAFT", 0},
    {"STR_CDP_CMB_IMAGE_QUALITY_NORMAL", 1},
    {"STR_CDP_CMB_IMAGE_QUALITY_FINE", 2},
};
constexpr CChoiceDef kLayouts[] = {
    {"STR_CDP_CMB_NUP_LAYOUT_1", 0},
    {"STR_CDP_CMB_NUP_LAYOUT_2", 1},
    {"STR_CDP_CMB_NUP_LAYOUT_3", 2},
    {"STR_CDP_CMB_NUP_LAYOUT_4", 3},
    {"STR_CDP_CMB_NUP_LAYOUT_6", 4},
    {"STR_CDP_CMB_NUP_LAYOUT_8", 5},
};
// The paper size codes of the paper source page.
constexpr CChoiceDef kPaperSizes[] = {
    {"STR_CDP_CMB_PAPER_SIZE_A4", 2},
    {"STR_CDP_CMB_PAPER_SIZE_LETTER", 12},
};

constexpr auto kMedia = "CAMERA_TRAY1_MEDIA_TYPE";

// Media radios store the paper media codes of the paper source page; other codes load as Plain.
constexpr CControlDef kCameraPrintControls[] = {
    Label({.id = 2130, .name = "imageQualityLabel", .textKey = "STR_CDP_TXT_IMAGE_QUALITY", .row = 0}),
    Combo({.id = 2131,
           .name = "imageQualityCombo",
           .item = "CAMERA_IMAGE_QUALITY",
           .choices = kImageQualities,
           .row = 0}),
    Label({.id = 2132, .name = "layoutLabel", .textKey = "STR_CDP_TXT_NUP_LAYOUT", .row = 1}),
    Combo({.id = 2133, .name = "layoutCombo", .item = "CAMERA_N_UP_LAYOUT", .choices = kLayouts, .row = 1}),
    Label({.id = 2134, .name = "trayModeLabel", .textKey = "STR_CDP_TXT_TRAY_MODE", .row = 2}),
    RadioButton({.id = 2135,
                 .name = "cameraTray1Radio",
                 .textKey = "STR_CDP_RDO_TRAY1",
                 .item = "CAMERA_TRAY_MODE",
                 .group = 1,
                 .radioValue = 0,
                 .fallback = true,
                 .row = 2,
                 .column = 1}),
    RadioButton({.id = 2136,
                 .name = "cameraTray2Radio",
                 .textKey = "STR_CDP_RDO_TRAY2",
                 .item = "CAMERA_TRAY_MODE",
                 .group = 1,
                 .radioValue = 1,
                 .row = 2,
                 .column = 2}),
    Label({.id = 2137, .name = "cameraMediaLabel", .textKey = "STR_CDP_TXT_TRAY1_MEDIA_TYPE", .row = 3}),
    RadioButton({.id = 2138,
                 .name = "cameraPlainRadio",
                 .textKey = "STR_CDP_RDO_PLAIN",
                 .item = kMedia,
                 .group = 2,
                 .radioValue = 0,
                 .fallback = true,
                 .row = 3,
                 .column = 1}),
    RadioButton({.id = 2139,
                 .name = "cameraThickRadio",
                 .textKey = "STR_CDP_RDO_THICK",
                 .item = kMedia,
                 .group = 2,
                 .radioValue = 7,
                 .row = 3,
                 .column = 2}),
    RadioButton({.id = 2140,
                 .name = "cameraLabelRadio",
                 .textKey = "STR_CDP_RDO_LABEL",
                 .item = kMedia,
                 .group = 2,
                 .radioValue = 8,
                 .row = 3,
                 .column = 3}),
    RadioButton({.id = 2141,
                 .name = "cameraPostcardRadio",
                 .textKey = "STR_CDP_RDO_POSTCARD",
                 .item = kMedia,
                 .group = 2,
                 .radioValue = 5,
                 .row = 4,
                 .column = 1}),
    RadioButton({.id = 2142,
                 .name = "cameraGlossyRadio",
                 .textKey = "STR_CDP_RDO_GLOSSY",
                 .item = kMedia,
                 .group = 2,
                 .radioValue = 2,
                 .row = 4,
                 .column = 2}),
    Label({.id = 2143, .name = "cameraTray1SizeLabel", .textKey = "STR_CDP_TXT_TRAY1_PAPER_SIZE", .row = 5}),
    Combo({.id = 2144,
           .name = "cameraTray1SizeCombo",
           .item = "CAMERA_TRAY1_PAPER_SIZE",
           .choices = kPaperSizes,
           .row = 5}),
    Label({.id = 2145, .name = "cameraTray2SizeLabel", .textKey = "STR_CDP_TXT_TRAY2_PAPER_SIZE", .row = 6}),
    Combo({.id = 2146,
           .name = "cameraTray2SizeCombo",
           .item = "CAMERA_TRAY2_PAPER_SIZE",
           .choices = kPaperSizes,
           .row = 6}),
};

constexpr CPageDef kCameraPrintPage{.name = "CAMERA_DIRECT_PRINT_DLG",
                                    .className = "CCameraDirectPriSetDlg",
                                    .typeCode = 0x02040000,
                                    .titleKey = "STR_TREE_CAMERA_DIRECT_PRINT",
                                    .ratioKey = "STR_RATIO_TREE_CAMERA_DIRECT_PRINT",
                                    .modelMask = kDirectPrintModels,
                                    .controls = kCameraPrintControls};

// The switches load any value but 0 as on.
constexpr CControlDef kMemoryDirectControls[] = {
    Label({.id = 1970, .name = "memoryDirectLabel", .textKey = "STR_AM_MD_TXT_MEMORY_DIRECT", .row = 0}),
    RadioButton({.id = 1971,
                 .name = "memoryDirectEnableRadio",
                 .textKey = "STR_AM_MD_RDO_ENABLE",
                 .item = "LDAP_MEMORY_DIRECT",
                 .group = 1,
                 .radioValue = 1,
                 .fallback = true,
                 .row = 0,
                 .column = 1}),
    RadioButton({.id = 1972,
                 .name = "memoryDirectDisableRadio",
                 .textKey = "STR_AM_MD_RDO_DISABLE",
                 .item = "LDAP_MEMORY_DIRECT",
                 .group = 1,
                 .radioValue = 0,
                 .row = 0,
                 .column = 2}),
};

constexpr CControlDef kCameraDirectControls[] = {
    Label({.id = 1990, .name = "cameraDirectLabel", .textKey = "STR_AM_CD_TXT_CAMERA_DIRECT", .row = 0}),
    RadioButton({.id = 1991,
                 .name = "cameraDirectEnableRadio",
                 .textKey = "STR_AM_CD_RDO_ENABLE",
                 .item = "LDAP_CAMERA_DIRECT",
                 .group = 1,
                 .radioValue = 1,
                 .fallback = true,
                 .row = 0,
                 .column = 1}),
    RadioButton({.id = 1992,
                 .name = "cameraDirectDisableRadio",
                 .textKey = "STR_AM_CD_RDO_DISABLE",
                 .item = "LDAP_CAMERA_DIRECT",
                 .group = 1,
                 .radioValue = 0,
                 .row = 0,
                 .column = 2}),
};

constexpr CControlDef kRemoteMonitorControls[] = {
    Label({.id = 1950, .name = "remoteMonitorLabel", .textKey = "STR_AM_RM_TXT_REMOTE_MONITOR", .row = 0}),
    RadioButton({.id = 1951,
                 .name = "remoteMonitorOnRadio",
                 .textKey = "STR_AM_RM_RDO_ON",
                 .item = "ADMIN_S_REM_MONITOR_STATUS",
                 .group = 1,
                 .radioValue = 1,
                 .fallback = true,
                 .row = 0,
                 .column = 1}),
    RadioButton({.id = 1952,
                 .name = "remoteMonitorOffRadio",
                 .textKey = "STR_AM_RM_RDO_OFF",
                 .item = "ADMIN_S_REM_MONITOR_STATUS",
                 .group = 1,
                 .radioValue = 0,
                 .row = 0,
                 .column = 2}),
};

constexpr CPageDef kMemoryDirectPage{.name = "MEMORY_DIRECT_DLG",
                                     .className = "CMemoryDirectDlg",
                                     .typeCode = 0x02000100,
                                     .titleKey = "STR_TREE_AM_MEMORY_DIRECT",
                                     .ratioKey = "STR_RATIO_TREE_AM_MEMORY_DIRECT",
                                     .modelMask = kDirectPrintModels,
                                     .controls = kMemoryDirectControls};

constexpr CPageDef kCameraDirectPage{.name = "CAMERA_DIRECT_DLG",
                                     .className = "CCameraDirectDlg",
                                     .typeCode = 0x02000200,
                                     .titleKey = "STR_TREE_AM_CAMERA_DIRECT",
                                     .ratioKey = "STR_RATIO_TREE_AM_CAMERA_DIRECT",
                                     .modelMask = kDirectPrintModels,
                                     .controls = kCameraDirectControls};

constexpr CPageDef kRemoteMonitorPage{.name = "REMOTE_MONITOR_DLG",
                                      .className = "CRemoteMonitorDlg",
                                      .typeCode = 0x02000010,
                                      .titleKey = "STR_TREE_AM_REMOTE_MONITOR",
                                      .ratioKey = "STR_RATIO_TREE_AM_REMOTE_MONITOR",
                                      .controls = kRemoteMonitorControls};

} // namespace

const CPageDef& CameraDirectPrintPage()
{
    return kCameraPrintPage;
}

const CPageDef& MemoryDirectPage()
{
    return kMemoryDirectPage;
}

const CPageDef& CameraDirectPage()
{
    return kCameraDirectPage;
}

const CPageDef& RemoteMonitorPage()
{
    return kRemoteMonitorPage;
}

} // namespace qzb
