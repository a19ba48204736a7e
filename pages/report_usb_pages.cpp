#include "pages/machine_page.h"

namespace qzb {

namespace {

constexpr CChoiceDef kActivityReport[] = {
    {"STR_REPORT_CMB_ACTIVITY_REPORT_ON", 1},
    {"STR_REPORT_CMB_ACTIVITY_REPORT_OFF", 0},
};
constexpr CChoiceDef kTxResultReport[] = {
    {"STR_REPORT_CMB_TX_RESULT_REPORT_ON", 0},
    {"STR_REPORT_CMB_TX_RESULT_REPORT_ON_ERROR", 1},
    {"STR_REPORT_CMB_TX_RESULT_REPORT_OFF", 2},
};
constexpr CChoiceDef kRxResultReport[] = {
    {"STR_REPORT_CMB_RX_RESULT_REPORT_ON", 0},
    {"STR_REPORT_CMB_RX_RESULT_REPORT_ON_ERROR", 1},
    {"STR_REPORT_CMB_RX_RESULT_REPORT_OFF", 2},
};

constexpr CControlDef kReportControls[] = {
    {.id = 1811, .name = "activityReportLabel", .textKey = "STR_REPORT_TXT_ACTIVITY_REPORT", .row = 0},
    {.id = 1812,
     .kind = ControlKind::Combo,
     .name = "activityReportCombo",
     .binding = Binding::Combo,
     .item = "REPORTING_ACTIVITY_REPORT",
     .choices = kActivityReport,
     .row = 0,
     .column = 1},
    {.id = 1813, .name = "txResultReportLabel", .textKey = "STR_REPORT_TXT_TX_RESULT_REPORT", .row = 1},
    {.id = 1814,
     .kind = ControlKind::Combo,
     .name = "txResultReportCombo",
     .binding = Binding::Combo,
     .item = "REPORTING_TX_RESULT_REPORT",
     .choices = kTxResultReport,
     .row = 1,
     .column = 1},
    {.id = 1815, .name = "rxResultReportLabel", .textKey = "STR_REPORT_TXT_RX_RESULT_REPORT", .row = 2},
    {.id = 1816,
     .kind = ControlKind::Combo,
     .name = "rxResultReportCombo",
     .binding = Binding::Combo,
     .item = "REPORTING_RX_RESULT_REPORT",
     .choices = kRxResultReport,
     .row = 2,
     .column = 1},
};

constexpr CControlDef kUsbControls[] = {
    {.id = 2600, .name = "usbLabel", .textKey = "STR_USB_TXT_USB_SETTING", .row = 0},
    {.id = 2601,
     .kind = ControlKind::Radio,
     .name = "usbWindowsRadio",
     .textKey = "STR_USB_RDO_WINDOWS",
     .binding = Binding::Radio,
     .item = "USB_SET",
     .group = 1,
     .radioValue = 0,
     .row = 0,
     .column = 1},
    {.id = 2602,
     .kind = ControlKind::Radio,
     .name = "usbMacRadio",
     .textKey = "STR_USB_RDO_MAC",
     .binding = Binding::Radio,
     .item = "USB_SET",
     .group = 1,
     .radioValue = 1,
     .fallback = true,
     .row = 0,
     .column = 2},
};

constexpr CPageDef kReportPage{.name = "REPORT_SET_DLG",
                               .className = "CReportSetDlg",
                               .typeCode = 0x02010000,
                               .titleKey = "STR_TREE_REPORTING",
                               .ratioKey = "STR_RATIO_TREE_REPORTING",
                               .controls = kReportControls};

constexpr CPageDef kUsbPage{.name = "USB_SET_DLG",
                            .className = "CUSBSetDlg",
                            .typeCode = 0x02080000,
                            .titleKey = "STR_TREE_AM_USB_SET",
                            .ratioKey = "STR_RATIO_TREE_AM_USB_SETTING",
                            .modelMask = 0xFF06,
                            .controls = kUsbControls};

} // namespace

const CPageDef& ReportSettingsPage()
{
    return kReportPage;
}

const CPageDef& UsbSettingsPage()
{
    return kUsbPage;
}

} // namespace qzb
