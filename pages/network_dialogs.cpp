#include "pages/network_pages.h"

#include "model/value_store.h"
#include "pages/common_checks.h"
#include "pages/control_rows.h"

namespace qzb {

using namespace rows;

namespace {

constexpr CControlDef kFtpControls[] = {
    Label({.id = 2100, .name = "proxyServerLabel", .textKey = "STR_DLG_FTP_TXT_PROXY_SERVER", .row = 0}),
    TextEdit({.id = 2101,
              .name = "proxyServerEdit",
              .item = "PROXY_SERVER",
              .inputKind = InputKind::EmailAddress,
              .limit = 64,
              .row = 0}),
    Label({.id = 2102, .name = "proxyPortLabel", .textKey = "STR_DLG_FTP_TXT_PROXY_PORT", .row = 1}),
    PortEdit({.id = 2103,
              .name = "proxyPortEdit",
              .item = "FTP_PROXY_PORT_NUMBER",
              .limit = 5,
              .minimum = 1,
              .maximum = 65535,
              .row = 1}),
    Label({.id = 2105, .name = "connectionTimeoutLabel", .textKey = "STR_DLG_FTP_TXT_CONNECTION_TIMEOUT", .row = 2}),
    PortEdit({.id = 2106,
              .name = "connectionTimeoutEdit",
              .item = "FTP_CONNECTION_TIMEOUT",
              .limit = 3,
              .minimum = 30,
              .maximum = 300,
              .row = 2}),
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
    Label({.id = 1800, .name = "userAuthenticationLabel", .textKey = "STR_DLG_SMB_TXT_USER_AUTH", .row = 0}),
    Combo({.id = 1801,
           .name = "userAuthenticationCombo",
           .item = "SMB_USER_AUTHENTICATION",
           .choices = kUserAuthentication,
           .row = 0}),
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
    Label({.id = 2030, .name = "bonjourNameLabel", .textKey = "STR_DLG_BJ_TXT_BONJOUR_NAME", .row = 0}),
    TextEdit({.id = kBonjourName,
              .name = "bonjourNameEdit",
              .item = "BONJOUR_NAME",
              .inputKind = InputKind::PrintableAscii,
              .limit = 0,
              .row = 0}),
    Label({.id = 2032, .name = "priorityProtocolLabel", .textKey = "STR_DLG_BJ_TXT_PRIORITY_PROTOCOL", .row = 1}),
    Combo({.id = 2033,
           .name = "priorityProtocolCombo",
           .item = "BONJOUR_PRIORITY_PROTOCOL",
           .choices = kPriorityProtocols,
           .row = 1}),
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
    Label({.id = 1660, .name = "rawPortNumberLabel", .textKey = "STR_DLG_RP_TXT_RAW_PORT_NUMBER", .row = 0}),
    PortEdit({.id = kRawPort,
              .name = "rawPortNumberEdit",
              .item = "IPP_RAW_PORT_NO",
              .limit = 5,
              .minimum = 1,
              .maximum = 65535,
              .row = 0}),
    Label({.id = 1663, .name = "bidirectionLabel", .textKey = "STR_DLG_RP_TXT_BIDIRECTION", .row = 1}),
    Combo({.id = 1664,
           .name = "bidirectionCombo",
           .item = "IPP_RAW_PORT_BIDIRECTION",
           .choices = kBidirection,
           .row = 1}),
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
    Label({.id = 1480, .name = "accessPermissionLabel", .textKey = "STR_DLG_AF_TXT_ACCESS_PERMISSION", .row = 0}),
    RadioButton({.id = 1481,
                 .name = "accessPermissionEnableRadio",
                 .textKey = "STR_DLG_AF_RDO_ENABLE",
                 .item = "ADDRESS_FILTER_ACCESS_PERMISSION",
                 .group = 1,
                 .radioValue = 1,
                 .fallback = true,
                 .row = 0,
                 .column = 1}),
    RadioButton({.id = 1482,
                 .name = "accessPermissionDisableRadio",
                 .textKey = "STR_DLG_AF_RDO_DISABLE",
                 .item = "ADDRESS_FILTER_ACCESS_PERMISSION",
                 .group = 1,
                 .radioValue = 0,
                 .row = 0,
                 .column = 2}),
    Label({.id = 1483, .name = "accessRefuseLabel", .textKey = "STR_DLG_AF_TXT_ACCESS_REFUSE", .row = 1}),
    RadioButton({.id = 1484,
                 .name = "accessRefuseEnableRadio",
                 .textKey = "STR_DLG_AF_RDO_ENABLE",
                 .item = "ADDRESS_FILTER_ACCESS_REFUSE",
                 .group = 2,
                 .radioValue = 1,
                 .fallback = true,
                 .row = 1,
                 .column = 1}),
    RadioButton({.id = 1485,
                 .name = "accessRefuseDisableRadio",
                 .textKey = "STR_DLG_AF_RDO_DISABLE",
                 .item = "ADDRESS_FILTER_ACCESS_REFUSE",
                 .group = 2,
                 .radioValue = 0,
                 .row = 1,
                 .column = 2}),
};

constexpr CPageDef kAddressFilterDialog{.name = "ADD_FILTER_DLG",
                                        .className = "CPaAddFilterDlg",
                                        .pageClass = PageClass::SettingDialog,
                                        .titleKey = "STR_DLG_IP_ADDRESS_FILTER",
                                        .ratioKey = "STR_RATIO_DLG_IP_ADDRESS_FILTER",
                                        .controls = kAddressFilterControls};

// The IPv6 addresses are what the device found; the dialog shows them and never writes them.
constexpr CControlDef kIpv6Controls[] = {
    Label({.id = 1499, .name = "ipv6Label", .textKey = "STR_DLG_IPV6_TXT_IPV6", .row = 0}),
    RadioButton({.id = 1500,
                 .name = "ipv6EnableRadio",
                 .textKey = "STR_DLG_IPV6_RDO_ENABLE",
                 .item = "IPV6",
                 .group = 1,
                 .radioValue = 1,
                 .fallback = true,
                 .row = 0,
                 .column = 1}),
    RadioButton({.id = 1501,
                 .name = "ipv6DisableRadio",
                 .textKey = "STR_DLG_IPV6_RDO_DISABLE",
                 .item = "IPV6",
                 .group = 1,
                 .radioValue = 0,
                 .row = 0,
                 .column = 2}),
    Label({.id = 1502, .name = "autoSetLabel", .textKey = "STR_DLG_IPV6_TXT_AUTO_SET", .row = 1}),
    RadioButton({.id = 1503,
                 .name = "autoSetYesRadio",
                 .textKey = "STR_DLG_IPV6_RDO_YES",
                 .item = "IPV6_AUTO_SET",
                 .group = 2,
                 .radioValue = 1,
                 .fallback = true,
                 .row = 1,
                 .column = 1}),
    RadioButton({.id = 1504,
                 .name = "autoSetNoRadio",
                 .textKey = "STR_DLG_IPV6_RDO_NO",
                 .item = "IPV6_AUTO_SET",
                 .group = 2,
                 .radioValue = 0,
                 .row = 1,
                 .column = 2}),
    Label({.id = 1505, .name = "linkLocalLabel", .textKey = "STR_DLG_IPV6_TXT_LINK_LOCAL", .row = 2}),
    AddressField({.id = 1506,
                  .name = "linkLocalAddress",
                  .item = "IPV6_LINK_LOCAL",
                  .binding = Binding::Address,
                  .row = 2,
                  .readOnly = true}),
    Label({.id = 1507, .name = "globalAddressLabel", .textKey = "STR_DLG_IPV6_TXT_GLOBAL_ADDRESS", .row = 3}),
    AddressField({.id = 1508,
                  .name = "globalAddressAddress",
                  .item = "IPV6_GLOBAL_ADDRESS",
                  .binding = Binding::Address,
                  .row = 3,
                  .readOnly = true}),
    Label({.id = 1509, .name = "ipv6GatewayLabel", .textKey = "STR_DLG_IPV6_TXT_GATEWAY_ADDRESS", .row = 4}),
    AddressField({.id = 1510,
                  .name = "ipv6GatewayAddress",
                  .item = "IPV6_GATEWAY_ADDRESS",
                  .binding = Binding::Address,
                  .row = 4,
                  .readOnly = true}),
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
