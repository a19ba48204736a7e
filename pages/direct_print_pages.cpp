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
    Label(2130, "imageQualityLabel", "STR_CDP_TXT_IMAGE_QUALITY", 0),
    Combo(2131, "imageQualityCombo", "CAMERA_IMAGE_QUALITY", kImageQualities, 0),
    Label(2132, "layoutLabel", "STR_CDP_TXT_NUP_LAYOUT", 1),
    Combo(2133, "layoutCombo", "CAMERA_N_UP_LAYOUT", kLayouts, 1),
    Label(2134, "trayModeLabel", "STR_CDP_TXT_TRAY_MODE", 2),
    RadioButton(2135, "cameraTray1Radio", "STR_CDP_RDO_TRAY1", "CAMERA_TRAY_MODE", 1, 0, true, 2, 1),
    RadioButton(2136, "cameraTray2Radio", "STR_CDP_RDO_TRAY2", "CAMERA_TRAY_MODE", 1, 1, false, 2, 2),
    Label(2137, "cameraMediaLabel", "STR_CDP_TXT_TRAY1_MEDIA_TYPE", 3),
    RadioButton(2138, "cameraPlainRadio", "STR_CDP_RDO_PLAIN", kMedia, 2, 0, true, 3, 1),
    RadioButton(2139, "cameraThickRadio", "STR_CDP_RDO_THICK", kMedia, 2, 7, false, 3, 2),
    RadioButton(2140, "cameraLabelRadio", "STR_CDP_RDO_LABEL", kMedia, 2, 8, false, 3, 3),
    RadioButton(2141, "cameraPostcardRadio", "STR_CDP_RDO_POSTCARD", kMedia, 2, 5, false, 4, 1),
    RadioButton(2142, "cameraGlossyRadio", "STR_CDP_RDO_GLOSSY", kMedia, 2, 2, false, 4, 2),
    Label(2143, "cameraTray1SizeLabel", "STR_CDP_TXT_TRAY1_PAPER_SIZE", 5),
    Combo(2144, "cameraTray1SizeCombo", "CAMERA_TRAY1_PAPER_SIZE", kPaperSizes, 5),
    Label(2145, "cameraTray2SizeLabel", "STR_CDP_TXT_TRAY2_PAPER_SIZE", 6),
    Combo(2146, "cameraTray2SizeCombo", "CAMERA_TRAY2_PAPER_SIZE", kPaperSizes, 6),
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
    Label(1970, "memoryDirectLabel", "STR_AM_MD_TXT_MEMORY_DIRECT", 0),
    RadioButton(1971, "memoryDirectEnableRadio", "STR_AM_MD_RDO_ENABLE", "LDAP_MEMORY_DIRECT", 1, 1, true, 0, 1),
    RadioButton(1972, "memoryDirectDisableRadio", "STR_AM_MD_RDO_DISABLE", "LDAP_MEMORY_DIRECT", 1, 0, false, 0, 2),
};

constexpr CControlDef kCameraDirectControls[] = {
    Label(1990, "cameraDirectLabel", "STR_AM_CD_TXT_CAMERA_DIRECT", 0),
    RadioButton(1991, "cameraDirectEnableRadio", "STR_AM_CD_RDO_ENABLE", "LDAP_CAMERA_DIRECT", 1, 1, true, 0, 1),
    RadioButton(1992, "cameraDirectDisableRadio", "STR_AM_CD_RDO_DISABLE", "LDAP_CAMERA_DIRECT", 1, 0, false, 0, 2),
};

constexpr CControlDef kRemoteMonitorControls[] = {
    Label(1950, "remoteMonitorLabel", "STR_AM_RM_TXT_REMOTE_MONITOR", 0),
    RadioButton(1951, "remoteMonitorOnRadio", "STR_AM_RM_RDO_ON", "ADMIN_S_REM_MONITOR_STATUS", 1, 1, true, 0, 1),
    RadioButton(1952, "remoteMonitorOffRadio", "STR_AM_RM_RDO_OFF", "ADMIN_S_REM_MONITOR_STATUS", 1, 0, false, 0, 2),
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
