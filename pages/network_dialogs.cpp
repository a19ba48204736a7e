#include "pages/network_pages.h"

#include "model/value_store.h"
#include "pages/common_checks.h"
#include "pages/control_rows.h"

namespace qzb {

using namespace rows;

namespace {

constexpr CControlDef kFtpControls[] = {
    Label(2100, "proxyServerLabel", "STR_DLG_FTP_TXT_PROXY_SERVER", 0),
    TextEdit(2101, "proxyServerEdit", "PROXY_SERVER", 7, 64, 0),
    Label(2102, "proxyPortLabel", "STR_DLG_FTP_TXT_PROXY_PORT", 1),
    PortEdit(2103, "proxyPortEdit", "FTP_PROXY_PORT_NUMBER", 5, 1, 65535, 1),
    Label(2105, "connectionTimeoutLabel", "STR_DLG_FTP_TXT_CONNECTION_TIMEOUT", 2),
    PortEdit(2106, "connectionTimeoutEdit", "FTP_CONNECTION_TIMEOUT", 3, 30, 300, 2),
};

constexpr CPageDef kFtpDialog{.name = "FTP_SET_DLG",
                              .className = "CFtpSetDlg",
                              .pageClass = PageClass::SettingDialog,
                              .titleKey = "STR_DLG_FTP",
                              .ratioKey = "STR_RATIO_DLG_FTP",
                              .controls = kFtpControls};

constexpr CChoiceDef kUserAuthentication[] = {
    {"STR_DLG_SMB_CMB_USER_AUTH_ON", 1},
    {"STR_DLG_SMB_CMB_USER_AUTH_OFF", 0},
};

constexpr CControlDef kSmbControls[] = {
    Label(1800, "userAuthenticationLabel", "STR_DLG_SMB_TXT_USER_AUTH", 0),
    Combo(1801, "userAuthenticationCombo", "SMB_USER_AUTHENTICATION", kUserAuthentication, 0),
};

constexpr CPageDef kSmbDialog{.name = "SMB_SET_DLG",
                              .className = "CSmbSetDlg",
                              .pageClass = PageClass::SettingDialog,
                              .titleKey = "STR_DLG_SMB",
                              .ratioKey = "STR_RATIO_DLG_SMB",
                              .controls = kSmbControls};

constexpr std::int32_t kBonjourName = 2031;
constexpr CChoiceDef kPriorityProtocols[] = {
    {"STR_DLG_BJ_CMB_PRIORITY_PROTOCOL_LPD", 0},
    {"STR_DLG_BJ_CMB_PRIORITY_PROTOCOL_RAW_PORT", 1},
    {"STR_DLG_BJ_CMB_PRIORITY_PROTOCOL_IPP", 2},
};

constexpr CControlDef kBonjourControls[] = {
    Label(2030, "bonjourNameLabel", "STR_DLG_BJ_TXT_BONJOUR_NAME", 0),
    TextEdit(kBonjourName, "bonjourNameEdit", "BONJOUR_NAME", 15, 0, 0),
    Label(2032, "priorityProtocolLabel", "STR_DLG_BJ_TXT_PRIORITY_PROTOCOL", 1),
    Combo(2033, "priorityProtocolCombo", "BONJOUR_PRIORITY_PROTOCOL", kPriorityProtocols, 1),
};

// The name the device announces: never empty, and a trailing space would not survive the device.
CCheckResult CheckBonjour(const CPage& page)
{
    const std::u16string& name = page.State(kBonjourName).text;
    if (name.empty() || name.back() == u' ') {
        return {kMsgBonjourNameInvalidErr, kBonjourName};
    }
    return {};
}

constexpr CPageRules kBonjourRules{.check = CheckBonjour};

constexpr CPageDef kBonjourDialog{.name = "BONJOUR_SET_DLG",
                                  .className = "CBonjourSetDlg",
                                  .pageClass = PageClass::SettingDialog,
                                  .titleKey = "STR_DLG_BONJOUR",
                                  .ratioKey = "STR_RATIO_DLG_BONJOUR",
                                  .controls = kBonjourControls,
                                  .rules = &kBonjourRules};

constexpr std::int32_t kRawPort = 1661;
constexpr CChoiceDef kBidirection[] = {
    {"STR_DLG_RP_CMB_RAW_PORT_BIDIRECT_DISABLE", 0},
    {"STR_DLG_RP_CMB_RAW_PORT_BIDIRECT_ENABLE", 1},
};

constexpr CControlDef kRawPortControls[] = {
    Label(1660, "rawPortNumberLabel", "STR_DLG_RP_TXT_RAW_PORT_NUMBER", 0),
    PortEdit(kRawPort, "rawPortNumberEdit", "IPP_RAW_PORT_NO", 5, 1, 65535, 0),
    Label(1663, "bidirectionLabel", "STR_DLG_RP_TXT_BIDIRECTION", 1),
    Combo(1664, "bidirectionCombo", "IPP_RAW_PORT_BIDIRECTION", kBidirection, 1),
};

// The RAW port must not take a port of the device's own services nor the SNMP port.
CCheckResult CheckRawPort(const CPage& page)
{
    const std::int64_t port = LeadingDecimal(page.State(kRawPort).text);
    if (IsReservedPort(port) || port == page.Env().store->GetItemNumber("SNMP_SET_DLG", "SNMP_UDP_PORT")) {
        return {kMsgInvalidRangeValue, kRawPort};
    }
    return {};
}

constexpr CPageRules kRawPortRules{.check = CheckRawPort};

constexpr CPageDef kRawPortDialog{.name = "RAW_PORT_SET_DLG",
                                  .className = "CRawPortSetDlg",
                                  .pageClass = PageClass::SettingDialog,
                                  .titleKey = "STR_DLG_RAW_PORT",
                                  .ratioKey = "STR_RATIO_DLG_RAW_PORT_SETTING",
                                  .controls = kRawPortControls,
                                  .rules = &kRawPortRules};

constexpr CControlDef kAddressFilterControls[] = {
    Label(1480, "accessPermissionLabel", "STR_DLG_AF_TXT_ACCESS_PERMISSION", 0),
    RadioButton(1481,
                "accessPermissionEnableRadio",
                "STR_DLG_AF_RDO_ENABLE",
                "ADDRESS_FILTER_ACCESS_PERMISSION",
                1,
                1,
                true,
                0,
                1),
    RadioButton(1482,
                "accessPermissionDisableRadio",
                "STR_DLG_AF_RDO_DISABLE",
                "ADDRESS_FILTER_ACCESS_PERMISSION",
                1,
                0,
                false,
                0,
                2),
    Label(1483, "accessRefuseLabel", "STR_DLG_AF_TXT_ACCESS_REFUSE", 1),
    RadioButton(
        1484, "accessRefuseEnableRadio", "STR_DLG_AF_RDO_ENABLE", "ADDRESS_FILTER_ACCESS_REFUSE", 2, 1, true, 1, 1),
    RadioButton(
        1485, "accessRefuseDisableRadio", "STR_DLG_AF_RDO_DISABLE", "ADDRESS_FILTER_ACCESS_REFUSE", 2, 0, false, 1, 2),
};

constexpr CPageDef kAddressFilterDialog{.name = "ADD_FILTER_DLG",
                                        .className = "CPaAddFilterDlg",
                                        .pageClass = PageClass::SettingDialog,
                                        .titleKey = "STR_DLG_IP_ADDRESS_FILTER",
                                        .ratioKey = "STR_RATIO_DLG_IP_ADDRESS_FILTER",
                                        .controls = kAddressFilterControls};

// The IPv6 addresses are what the device found; the dialog shows them and never writes them.
constexpr CControlDef kIpv6Controls[] = {
    Label(1499, "ipv6Label", "STR_DLG_IPV6_TXT_IPV6", 0),
    RadioButton(1500, "ipv6EnableRadio", "STR_DLG_IPV6_RDO_ENABLE", "IPV6", 1, 1, true, 0, 1),
    RadioButton(1501, "ipv6DisableRadio", "STR_DLG_IPV6_RDO_DISABLE", "IPV6", 1, 0, false, 0, 2),
    Label(1502, "autoSetLabel", "STR_DLG_IPV6_TXT_AUTO_SET", 1),
    RadioButton(1503, "autoSetYesRadio", "STR_DLG_IPV6_RDO_YES", "IPV6_AUTO_SET", 2, 1, true, 1, 1),
    RadioButton(1504, "autoSetNoRadio", "STR_DLG_IPV6_RDO_NO", "IPV6_AUTO_SET", 2, 0, false, 1, 2),
    Label(1505, "linkLocalLabel", "STR_DLG_IPV6_TXT_LINK_LOCAL", 2),
    AddressField(1506, "linkLocalAddress", "IPV6_LINK_LOCAL", Binding::Address, 2, true),
    Label(1507, "globalAddressLabel", "STR_DLG_IPV6_TXT_GLOBAL_ADDRESS", 3),
    AddressField(1508, "globalAddressAddress", "IPV6_GLOBAL_ADDRESS", Binding::Address, 3, true),
    Label(1509, "ipv6GatewayLabel", "STR_DLG_IPV6_TXT_GATEWAY_ADDRESS", 4),
    AddressField(1510, "ipv6GatewayAddress", "IPV6_GATEWAY_ADDRESS", Binding::Address, 4, true),
};

constexpr CPageDef kIpv6Dialog{.name = "IPV6_DLG",
                               .className = "CPaIpv6Dlg",
                               .pageClass = PageClass::SettingDialog,
                               .titleKey = "STR_DLG_IPV6",
                               .ratioKey = "STR_RATIO_DLG_IPV6",
                               .controls = kIpv6Controls};

} // namespace

const CPageDef& FtpSettingDialog()
{
    return kFtpDialog;
}

const CPageDef& SmbSettingDialog()
{
    return kSmbDialog;
}

const CPageDef& BonjourSettingDialog()
{
    return kBonjourDialog;
}

const CPageDef& RawPortSettingDialog()
{
    return kRawPortDialog;
}

const CPageDef& AddressFilterDialog()
{
    return kAddressFilterDialog;
}

const CPageDef& Ipv6Dialog()
{
    return kIpv6Dialog;
}

} // namespace qzb
