#include "pages/page_registry.h"

#include "pages/admin_number_page.h"
#include "pages/command_states.h"
#include "pages/communication_pages.h"
#include "pages/direct_print_pages.h"
#include "pages/email_ldap_pages.h"
#include "pages/fax_pages.h"
#include "pages/information_pages.h"
#include "pages/machine_page.h"
#include "pages/navigation.h"
#include "pages/network_pages.h"
#include "pages/paper_pages.h"
#include "pages/paper_tables.h"
#include "pages/scan_copy_pages.h"
#include "pages/service_man.h"
#include "pages/state_diff.h"
#include "pages/user_page.h"

#include <algorithm>
#include <array>
#include <iterator>

namespace qzb {

namespace {

constexpr std::uint32_t kAll = kEveryModelMask;

constexpr CRegistryRow kRows[] = {
    {0x02000000, {}, {}, {}, kAll},
    {0x02000001, "CMachineSetDlg", "MACHINE_SET_DLG", "STR_RATIO_TREE_MACHINE_SETTING", kAll},
    {0x02000002, "CPaperSetDlg", "PAPER_SET_DLG", "STR_RATIO_TREE_PAPER_SOURCE_SETUP", kAll},
    {0x02000004, {}, {}, {}, kAll},
    {0x02000008, "CAddminMode", "ADMINSTRATOR_NO_DLG", "STR_RATIO_TREE_AM_ADMINISTRATOR_NO", kAll},
    {0x02000010, "CRemoteMonitorDlg", "REMOTE_MONITOR_DLG", "STR_RATIO_TREE_AM_REMOTE_MONITOR", kAll},
    {0x02000020, "CTcpIpSetDlg", "TCP_IP_SET_DLG", "STR_RATIO_TREE_AM_NETWORK_SETTING", kAll},
    {0x02000040, "CEmailSetDlg", "EMAIL_SET_DLG", "STR_RATIO_TREE_AM_E_MAIL_SETTING", kAll},
    {0x02000080, "CLdapSetDlg", "LDAP_SET_DLG", "STR_RATIO_TREE_AM_LDAP_SETTING", kAll},
    {0x02000100, "CMemoryDirectDlg", "MEMORY_DIRECT_DLG", "STR_RATIO_TREE_AM_MEMORY_DIRECT", 0xFF00},
    {0x02000200, "CCameraDirectDlg", "CAMERA_DIRECT_DLG", "STR_RATIO_TREE_AM_CAMERA_DIRECT", 0xFF00},
    {0x02080000, "CUSBSetDlg", "USB_SET_DLG", "STR_RATIO_TREE_AM_USB_SETTING", 0xFF06},
    {0x02000400, "CCommunicateSetDlg", "COMMUNICATE_SET_DLG", "STR_RATIO_TREE_COMM_SETTING", kAll},
    {0x02000800, "CUserSetDlg", "USER_SET_DLG", "STR_RATIO_TREE_USER_SETTING", kAll},
    {0x02001000, "CAutoRedialDlg", "AUTO_REDIAL_DLG", "STR_RATIO_TREE_AUTO_REDIAL_SETTING", kAll},
    {0x02002000, "CCopySetDlg", "COPY_SET_DLG", "STR_RATIO_TREE_COPY_SETTING", kAll},
    {0x02004000, "CFaxTxSetDlg", "FAX_TX_SET_DLG", "STR_RATIO_TREE_FAX_TX_OPERATION", kAll},
    {0x02008000, "CFaxRxSetDlg", "FAX_RX_SET_DLG", "STR_RATIO_TREE_FAX_RX_OPERATION", kAll},
    {0x02010000, "CReportSetDlg", "REPORT_SET_DLG", "STR_RATIO_TREE_REPORTING", kAll},
    {0x02020000, "CScanSetDlg", "SCAN_SET_DLG", "STR_RATIO_TREE_SCAN_SETTING", kAll},
    {0x02040000, "CCameraDirectPriSetDlg", "CAMERA_DIRECT_PRINT_DLG", "STR_RATIO_TREE_CAMERA_DIRECT_PRINT", 0xFF00},
    {0x04000000, {}, {}, {}, kAll},
    {0x04000001, "CTotalCountDlg", "TOTAL_COUNTER", "STR_RATIO_DLG_TOTAL_COUNTER", kAll},
    {0x04000002, "CMachineConfDlg", "CONFIGURATION", "STR_RATIO_DLG_CONFIGURATION", kAll},
};

// Keys the pages' rules put together beyond their tables.
constexpr std::string_view kRuleTextKeys[] = {
    "STR_MAIN_UI_TXT_CONNECT_STATE",
    "STR_MAIN_UI_TXT_ON_LINE",
    "STR_MAIN_UI_TXT_OFF_LINE",
    "STR_MS_TXT_ENERGY_SAVE_MODE_MIN",
    "STR_MS_TXT_PRE_HEAT_MODE_MIN",
    "STR_MITC_TXT_ADF_SINGLE",
    "STR_MIC_TXT_NETWORK_ETHERNET",
};

} // namespace

std::vector<std::string> PageTextKeys()
{
    std::vector<std::string> keys(std::begin(kRuleTextKeys), std::end(kRuleTextKeys));
    auto add = [&keys](std::string_view key) {
        if (!key.empty()) {
            keys.emplace_back(key);
        }
    };
    for (const CPageDef* def : PageDefs()) {
        add(def->titleKey);
        add(def->ratioKey);
        for (const CControlDef& control : def->controls) {
            add(control.textKey);
            for (const CChoiceDef& choice : control.choices) {
                add(choice.textKey);
            }
        }
    }
    for (const CNavigationNode& node : NavigationNodes()) {
        add(node.textKey);
    }
    for (const CToolbarButton& button : ToolbarButtons()) {
        add(button.textKey);
    }
    for (const auto rows : {FileMenuRows(), HelpMenuRows()}) {
        for (const CMenuRow& row : rows) {
            add(row.textKey);
        }
    }
    for (const CDeviceMenuRow& row : DeviceMenuRows()) {
        add(row.textKey);
    }
    add("STR_MENU_FILE");
    add("STR_MENU_DEVICE");
    add("STR_MENU_HELP");
    for (const CPaperSize& size : PaperSizes()) {
        add(size.textKey);
    }
    for (const CPaperMedia& media : PaperMedia()) {
        add(media.nameKey);
    }
    for (const std::string& key : ServiceManTextKeys()) {
        add(key);
    }
    for (const std::string_view key : DiffTextKeys()) {
        add(key);
    }
    return keys;
}

std::span<const CRegistryRow> PageRegistry()
{
    return kRows;
}

std::span<const CPageDef* const> PageDefs()
{
    // The pages that have a model so far, in registry order, then the setting dialogs.
    // One page a line, so that pages added side by side merge cleanly.
    // clang-format off
    static const std::array defs = {&MachineSettingsPage(),
                                    &PaperSourcePage(),
                                    &AdminNumberPage(),
                                    &RemoteMonitorPage(),
                                    &TcpIpSettingsPage(),
                                    &EmailSettingsPage(),
                                    &LdapSettingsPage(),
                                    &MemoryDirectPage(),
                                    &CameraDirectPage(),
                                    &UsbSettingsPage(),
                                    &CopySettingsPage(),
                                    &CommunicationSettingsPage(),
                                    &UserSettingsPage(),
                                    &AutoRedialPage(),
                                    &FaxTxSettingsPage(),
                                    &FaxRxSettingsPage(),
                                    &ReportSettingsPage(),
                                    &ScanSettingsPage(),
                                    &CameraDirectPrintPage(),
                                    &TotalCounterPage(),
                                    &ConfigurationPage(),
                                    &AddressFilterDialog(),
                                    &Ipv6Dialog(),
                                    &CustomPaperSizeDialog(1),
                                    &CustomPaperSizeDialog(2),
                                    &DnsSettingDialog(),
                                    &FtpSettingDialog(),
                                    &SmbSettingDialog(),
                                    &BonjourSettingDialog(),
                                    &IppSettingDialog(),
                                    &SnmpSettingDialog(),
                                    &RawPortSettingDialog(),
                                    &ForwardLocationDialog()};
    // clang-format on
    return defs;
}

namespace {

// Whether a control of a page opens the dialog; with a model bit, only a control that model shows.
bool OpensDialog(const CPageDef& page, std::string_view dialog, std::uint32_t modelBit)
{
    return (page.modelMask & modelBit) != 0 &&
           std::any_of(page.controls.begin(), page.controls.end(), [&](const CControlDef& control) {
               return control.opensDialog == dialog && (control.modelMask & modelBit) != 0;
           });
}

} // namespace

std::vector<const CPageDef*> PageDefsForModel(std::uint32_t modelBit)
{
    const auto all = PageDefs();
    std::vector<const CPageDef*> pages;
    for (const CPageDef* def : all) {
        if ((def->modelMask & modelBit) == 0) {
            continue;
        }
        // A setting dialog whose only openers are controls this model does not have (the IPv6 and
        // address filter checks of the TCP/IP page) is not one of its dialogs.
        auto opens = [&](std::uint32_t bits) {
            return std::any_of(
                all.begin(), all.end(), [&](const CPageDef* page) { return OpensDialog(*page, def->name, bits); });
        };
        if (def->pageClass == PageClass::SettingDialog && opens(kEveryModelMask) && !opens(modelBit)) {
            continue;
        }
        pages.push_back(def);
    }
    return pages;
}

const CPageDef* PageOpeningDialog(std::string_view dialog, std::uint32_t modelBit)
{
    for (const CPageDef* page : PageDefsForModel(modelBit)) {
        if (page->pageClass != PageClass::SettingDialog && OpensDialog(*page, dialog, modelBit)) {
            return page;
        }
    }
    return nullptr;
}

const CPageDef* FindPageDef(std::string_view name)
{
    for (const CPageDef* def : PageDefs()) {
        if (def->name == name) {
            return def;
        }
    }
    return nullptr;
}

const CPageDef* FindPageDef(std::uint32_t typeCode)
{
    for (const CPageDef* def : PageDefs()) {
        if (def->typeCode == typeCode && typeCode != 0) {
            return def;
        }
    }
    return nullptr;
}

} // namespace qzb
