#include "pages/network_pages.h"

#include "model/value_store.h"
#include "pages/control_rows.h"

namespace qzb {

using namespace rows;

namespace {

constexpr std::uint32_t kLarge = 0xFF00; // the models of bits 0x100 and 0x200
constexpr std::uint32_t kSmall = 0x6; // the models of bits 0x2 and 0x4
constexpr std::uint32_t kNever = 0;
constexpr auto kTcpIpPage = "TCP_IP_SET_DLG";

constexpr std::int32_t kNetworkLabel = 2050;
constexpr std::int32_t kNetworkEnable = 2051;
constexpr std::int32_t kNetworkDisable = 2052;
constexpr std::int32_t kIpAuto = 2054;
constexpr std::int32_t kIpAddressLabel = 2056;
constexpr std::int32_t kIpSpecify = 2055;
constexpr std::int32_t kIpAddress = 2057;
constexpr std::int32_t kSubnetMask = 2059;
constexpr std::int32_t kGateway = 2061;
constexpr std::int32_t kHttp = 2064;
constexpr std::int32_t kIpp = 2075;

constexpr CChoiceDef kSpeedDuplex[] = {
    {"STR_AM_NS_CMB_SPEED_DUPLEX_AUTO", 0},
    {"STR_AM_NS_CMB_SPEED_DUPLEX_10_FULL", 1},
    {"STR_AM_NS_CMB_SPEED_DUPLEX_10_HALF", 2},
    {"STR_AM_NS_CMB_SPEED_DUPLEX_100_FULL", 3},
    {"STR_AM_NS_CMB_SPEED_DUPLEX_100_HALF", 4},
    {.textKey = "STR_AM_NS_CMB_SPEED_DUPLEX_1000_BASE", .value = 5, .modelMask = kLarge},
};

// Protocol switches load as on for any value but 0; a switch with a dialog opens it when checked.
struct CNetworkCheckRow
{
    std::int32_t id = 0;
    std::string_view name = {};
    std::string_view textKey = {};
    std::string_view item = {};
    std::int32_t row = -1;
    std::int32_t column = 0;
    std::uint32_t modelMask = kEveryModelMask;
    std::string_view opensDialog = {};
};

constexpr CControlDef NetworkCheck(const CNetworkCheckRow& r)
{
    CControlDef control = CheckBox({.id = r.id,
                                    .name = r.name,
                                    .textKey = r.textKey,
                                    .item = r.item,
                                    .row = r.row,
                                    .column = r.column,
                                    .modelMask = r.modelMask,
                                    .binding = Binding::CheckNonZero});
    control.opensDialog = r.opensDialog;
    return control;
}

constexpr CControlDef kTcpIpControls[] = {
    Label({.id = kNetworkLabel, .name = "networkLabel", .textKey = "STR_AM_NS_TXT_NETWORK", .row = 0}),
    RadioButton({.id = kNetworkEnable,
                 .name = "networkEnableRadio",
                 .textKey = "STR_AM_NS_RDO_NETWORK_ENABLE",
                 .item = "NETWORK",
                 .group = 1,
                 .radioValue = 1,
                 .fallback = true,
                 .row = 0,
                 .column = 1}),
    RadioButton({.id = kNetworkDisable,
                 .name = "networkDisableRadio",
                 .textKey = "STR_AM_NS_RDO_NETWORK_DISABLE",
                 .item = "NETWORK",
                 .group = 1,
                 .radioValue = 0,
                 .row = 0,
                 .column = 2}),
    Label({.id = 2053, .name = "ipSettingLabel", .textKey = "STR_AM_NS_TXT_IP_SETTING", .row = 1}),
    RadioButton({.id = kIpAuto,
                 .name = "ipAutoRadio",
                 .textKey = "STR_AM_NS_RDO_IP_AUTO",
                 .item = "NETWORK_IP",
                 .group = 2,
                 .radioValue = 0,
                 .row = 1,
                 .column = 1}),
    RadioButton({.id = kIpSpecify,
                 .name = "ipSpecifyRadio",
                 .textKey = "STR_AM_NS_RDO_IP_SPECIFY",
                 .item = "NETWORK_IP",
                 .group = 2,
                 .radioValue = 1,
                 .fallback = true,
                 .row = 1,
                 .column = 2}),
    Label({.id = kIpAddressLabel, .name = "ipAddressLabel", .textKey = "STR_AM_NS_TXT_IP_ADDRESS", .row = 2}),
    AddressField({.id = kIpAddress,
                  .name = "ipAddressAddress",
                  .item = "NETWORK_IP_ADD",
                  .binding = Binding::Address,
                  .row = 2}),
    Label({.id = 2058, .name = "subnetMaskLabel", .textKey = "STR_AM_NS_TXT_SUBNET_MASK", .row = 3}),
    AddressField({.id = kSubnetMask,
                  .name = "subnetMaskAddress",
                  .item = "NETWORK_SUB_MASK",
                  .binding = Binding::Address,
                  .row = 3}),
    Label({.id = 2060, .name = "gatewayLabel", .textKey = "STR_AM_NS_TXT_GATEWAY", .row = 4}),
    AddressField({.id = kGateway,
                  .name = "gatewayAddress",
                  .item = "NETWORK_GATEWAY",
                  .binding = Binding::AddressNoneMinusOne,
                  .row = 4}),
    NetworkCheck({.id = 2062,
                  .name = "dnsCheck",
                  .textKey = "STR_AM_NS_CHK_DNS",
                  .item = "NETWORK_DNS_CONFIG",
                  .row = 5,
                  .column = 0,
                  .modelMask = kEveryModelMask,
                  .opensDialog = "DNS_CONF_DLG"}),
    NetworkCheck({.id = 2063,
                  .name = "bootpCheck",
                  .textKey = "STR_AM_NS_CHK_BOOTP",
                  .item = "NETWORK_BOOTP",
                  .row = 5,
                  .column = 1,
                  .modelMask = kEveryModelMask}),
    NetworkCheck({.id = kHttp,
                  .name = "httpCheck",
                  .textKey = "STR_AM_NS_CHK_HTTP",
                  .item = "NETWORK_HTTP",
                  .row = 5,
                  .column = 2,
                  .modelMask = kEveryModelMask}),
    NetworkCheck({.id = 2065,
                  .name = "snmpCheck",
                  .textKey = "STR_AM_NS_CHK_SNMP",
                  .item = "NETWORK_SNMP",
                  .row = 6,
                  .column = 0,
                  .modelMask = kEveryModelMask,
                  .opensDialog = "SNMP_SET_DLG"}),
    NetworkCheck({.id = 2066,
                  .name = "ipAddressFilterCheck",
                  .textKey = "STR_AM_NS_CHK_IP_ADDRESS_FILTER",
                  .item = "NETWORK_IP_ADDRESS_FILTER",
                  .row = 6,
                  .column = 1,
                  .modelMask = kLarge,
                  .opensDialog = "ADD_FILTER_DLG"}),
    NetworkCheck({.id = 2067,
                  .name = "appleTalkCheck",
                  .textKey = "STR_AM_NS_CHK_APPLETALK",
                  .item = "NETWORK_APPLETALK",
                  .row = 6,
                  .column = 2,
                  .modelMask = kLarge}),
    NetworkCheck({.id = 2068,
                  .name = "dhcpCheck",
                  .textKey = "STR_AM_NS_CHK_DHCP",
                  .item = "NETWORK_DHCP",
                  .row = 7,
                  .column = 0,
                  .modelMask = kEveryModelMask}),
    NetworkCheck({.id = 2069,
                  .name = "arpPingCheck",
                  .textKey = "STR_AM_NS_CHK_ARP_PING",
                  .item = "NETWORK_ARP_PING",
                  .row = 7,
                  .column = 1,
                  .modelMask = kEveryModelMask}),
    NetworkCheck({.id = 2070,
                  .name = "ftpCheck",
                  .textKey = "STR_AM_NS_CHK_FTP",
                  .item = "NETWORK_FTP",
                  .row = 7,
                  .column = 2,
                  .modelMask = kEveryModelMask,
                  .opensDialog = "FTP_SET_DLG"}),
    NetworkCheck({.id = 2071,
                  .name = "wsdPrintCheck",
                  .textKey = "STR_AM_NS_CHK_WSD_PRINT",
                  .item = "NETWORK_WSD_PRINT",
                  .row = 8,
                  .column = 0,
                  .modelMask = kLarge}),
    NetworkCheck({.id = 2072,
                  .name = "ipv6Check",
                  .textKey = "STR_AM_NS_CHK_IPV6",
                  .item = "NETWORK_IPV6",
                  .row = 8,
                  .column = 1,
                  .modelMask = kLarge,
                  .opensDialog = "IPV6_DLG"}),
    NetworkCheck({.id = 2073,
                  .name = "ieee8021xCheck",
                  .textKey = "STR_AM_NS_CHK_IEEE802_1X",
                  .item = "NETWORK_IEEE802_1X",
                  .row = 8,
                  .column = 2,
                  .modelMask = kLarge}),
    NetworkCheck({.id = 2074,
                  .name = "lpdCheck",
                  .textKey = "STR_AM_NS_CHK_LPD",
                  .item = "NETWORK_LDP",
                  .row = 9,
                  .column = 0,
                  .modelMask = kEveryModelMask}),
    NetworkCheck({.id = kIpp,
                  .name = "ippCheck",
                  .textKey = "STR_AM_NS_CHK_IPP",
                  .item = "NETWORK_IPP",
                  .row = 9,
                  .column = 1,
                  .modelMask = kEveryModelMask,
                  .opensDialog = "IPP_SET_DLG"}),
    NetworkCheck({.id = 2077,
                  .name = "slpCheck",
                  .textKey = "STR_AM_NS_CHK_SLP",
                  .item = "NETWORK_SLP",
                  .row = 9,
                  .column = 2,
                  .modelMask = kEveryModelMask}),
    NetworkCheck({.id = 2078,
                  .name = "smbCheck",
                  .textKey = "STR_AM_NS_CHK_SMB",
                  .item = "NETWORK_SMB",
                  .row = 10,
                  .column = 0,
                  .modelMask = kEveryModelMask,
                  .opensDialog = "SMB_SET_DLG"}),
    NetworkCheck({.id = 2079,
                  .name = "bonjourCheck",
                  .textKey = "STR_AM_NS_CHK_BONJOUR",
                  .item = "NETWORK_BONJOUR",
                  .row = 10,
                  .column = 1,
                  .modelMask = kEveryModelMask,
                  .opensDialog = "BONJOUR_SET_DLG"}),
    NetworkCheck({.id = 2080,
                  .name = "ipsecCheck",
                  .textKey = "STR_AM_NS_CHK_IPSEC",
                  .item = "NETWORK_IPSEC",
                  .row = 10,
                  .column = 2,
                  .modelMask = kLarge}),
    NetworkCheck({.id = 2081,
                  .name = "netwareCheck",
                  .textKey = "STR_AM_NS_CHK_NETWARE",
                  .item = "NETWORK_NETWARE",
                  .row = 11,
                  .column = 0,
                  .modelMask = kLarge}),
    NetworkCheck({.id = 2082,
                  .name = "dynamicDnsCheck",
                  .textKey = "STR_AM_NS_CHK_DYNAMIC_DNS",
                  .item = "NETWORK_DYNAMIC_DNS",
                  .row = 11,
                  .column = 1,
                  .modelMask = kLarge}),
    // Telnet and SMTP are kept but never shown; the device holds them as "off" flags.
    CheckBox({.id = 2085,
              .name = "telnetCheck",
              .textKey = "STR_AM_NS_CHK_TELNET",
              .item = "NETWORK_TELNET",
              .row = 12,
              .column = 0,
              .modelMask = kNever,
              .binding = Binding::CheckInverted}),
    CheckBox({.id = 2086,
              .name = "smtpCheck",
              .textKey = "STR_AM_NS_CHK_SMTP",
              .item = "NETWORK_SMTP",
              .row = 12,
              .column = 1,
              .modelMask = kNever,
              .binding = Binding::CheckInverted}),
    {.id = 2087,
     .kind = ControlKind::Button,
     .name = "rawPortButton",
     .textKey = "STR_AM_NS_BTN_RAW_PORT",
     .row = 13,
     .opensDialog = "RAW_PORT_SET_DLG"},
    Label({.id = 2083, .name = "speedDuplexLabel", .textKey = "STR_AM_NS_TXT_SPEED_DUPLEX", .row = 14}),
    Combo({.id = 2084, .name = "speedDuplexCombo", .item = "NETWORK_SPEED_DUPLEX", .choices = kSpeedDuplex, .row = 14}),
};

bool IsAddressRow(std::int32_t id)
{
    return id >= kIpAddressLabel && id <= kGateway;
}

void UpdateStates(CPage& page)
{
    const bool network = !page.IsChecked(kNetworkDisable);
    const bool specify = page.IsChecked(kIpSpecify);
    for (const CControlDef& control : page.Controls()) {
        // The network switch itself stays usable, and rows of other models stay off.
        if (control.id >= kNetworkLabel && control.id <= kNetworkDisable) {
            continue;
        }
        if (control.hideExcluded && !page.AppliesToModel(control.modelMask)) {
            continue;
        }
        page.SetEnabled(control.id, network && (specify || !IsAddressRow(control.id)));
    }
    if (network) {
        page.SetEnabled(kIpp, page.IsChecked(kHttp));
    }
}

void OnChange(CPage& page, std::int32_t id)
{
    // IPP runs over HTTP: switching HTTP off switches IPP off with it.
    if (id == kHttp && !page.IsChecked(kHttp)) {
        page.State(kIpp).value = 0;
    }
    UpdateStates(page);
}

CCheckResult Check(const CPage& page)
{
    if (!page.IsChecked(kNetworkEnable) || !page.IsChecked(kIpSpecify)) {
        return {};
    }
    const std::int32_t ipFault = HostAddressFault(page.State(kIpAddress).octets, false);
    if (ipFault >= 0) {
        return {kMsgIpAddressInvalidErr, kIpAddress, ipFault};
    }
    if (FilledFieldCount(page.State(kSubnetMask).octets) < 4) {
        return {kMsgSubnetMaskInvalidErr, kSubnetMask, kFirstEmptyField};
    }
    const COctets& gateway = page.State(kGateway).octets;
    if (FilledFieldCount(gateway) == 0) {
        return {};
    }
    // The small devices take 0.0.0.0 for "no gateway" and accept the upper address range.
    const bool small = page.AppliesToModel(kSmall);
    if (small && gateway == COctets{0, 0, 0, 0}) {
        return {};
    }
    const std::int32_t gatewayFault = HostAddressFault(gateway, small);
    if (gatewayFault >= 0) {
        return {kMsgGatewayInvalidErr, kGateway, gatewayFault};
    }
    return {};
}

// Forwarding received faxes needs the network: switching it off switches forwarding off.
void BeforeStore(const CPage& page, CValueStore& store)
{
    if (store.GetItemNumber(kTcpIpPage, "NETWORK") != 0 && !page.IsChecked(kNetworkEnable)) {
        store.SetItemNumber("FAX_RX_SET_DLG", "FAX_RX_OPE_FORWARD", 2);
    }
}

// A radio group with neither button checked stores 0 (off, automatic).
void AfterStore(const CPage& page, CValueStore& store)
{
    if (!page.IsChecked(kNetworkEnable) && !page.IsChecked(kNetworkDisable)) {
        store.SetItemNumber(kTcpIpPage, "NETWORK", 0);
    }
    if (!page.IsChecked(kIpAuto) && !page.IsChecked(kIpSpecify)) {
        store.SetItemNumber(kTcpIpPage, "NETWORK_IP", 0);
    }
}

constexpr CPageRules kTcpIpRules{.afterLoad = UpdateStates,
                                 .onChange = OnChange,
                                 .check = Check,
                                 .beforeStore = BeforeStore,
                                 .afterStore = AfterStore};

constexpr CPageDef kTcpIpPageDef{.name = kTcpIpPage,
                                 .className = "CTcpIpSetDlg",
                                 .typeCode = 0x02000020,
                                 .titleKey = "STR_TREE_AM_NETWORK_SETTING",
                                 .ratioKey = "STR_RATIO_TREE_AM_NETWORK_SETTING",
                                 .controls = kTcpIpControls,
                                 .rules = &kTcpIpRules};

constexpr std::int32_t kHostName = 1871;
constexpr std::int32_t kDnsServers[] = {1873, 1874, 1875};

constexpr CControlDef kDnsControls[] = {
    Label({.id = 1870, .name = "hostNameLabel", .textKey = "STR_DLG_DNS_TXT_HOST_NAME", .row = 0}),
    TextEdit({.id = kHostName,
              .name = "hostNameEdit",
              .item = "DNS_HOST_NAME",
              .inputKind = InputKind::HostName,
              .limit = 63,
              .row = 0}),
    Label({.id = 1872, .name = "dnsServer1Label", .textKey = "STR_DLG_DNS_TXT_DNS_SERVER_1", .row = 1}),
    AddressField({.id = kDnsServers[0],
                  .name = "dnsServer1Address",
                  .item = "DNS_IP_ADDR1",
                  .binding = Binding::AddressNoneZero,
                  .row = 1}),
    Label({.id = 1876, .name = "dnsServer2Label", .textKey = "STR_DLG_DNS_TXT_DNS_SERVER_2", .row = 2}),
    AddressField({.id = kDnsServers[1],
                  .name = "dnsServer2Address",
                  .item = "DNS_IP_ADDR2",
                  .binding = Binding::AddressNoneZero,
                  .row = 2}),
    Label({.id = 1877, .name = "dnsServer3Label", .textKey = "STR_DLG_DNS_TXT_DNS_SERVER_3", .row = 3}),
    AddressField({.id = kDnsServers[2],
                  .name = "dnsServer3Address",
                  .item = "DNS_IP_ADDR3",
                  .binding = Binding::AddressNoneZero,
                  .row = 3}),
};

bool IsHostName(std::u16string_view text)
{
    const std::size_t first = text.find_first_not_of(u' ');
    if (first == std::u16string_view::npos) {
        return false;
    }
    const std::u16string_view trimmed = text.substr(first, text.find_last_not_of(u' ') - first + 1);
    return trimmed.front() != u'-' && trimmed.back() != u'-';
}

CCheckResult CheckDns(const CPage& page)
{
    if (!IsHostName(page.State(kHostName).text)) {
        return {kMsgHostNameInvalidErr, kHostName};
    }
    bool any = false;
    for (const std::int32_t id : kDnsServers) {
        const COctets& octets = page.State(id).octets;
        if (FilledFieldCount(octets) == 0) {
            continue;
        }
        any = true;
        const std::int32_t fault = HostAddressFault(octets, true);
        if (fault >= 0) {
            return {kMsgDnsServerInvalidErr, id, fault};
        }
    }
    if (!any) {
        return {kMsgDnsServerInvalidErr, kDnsServers[0], kFirstEmptyField};
    }
    return {};
}

constexpr CPageRules kDnsRules{.check = CheckDns};

constexpr CPageDef kDnsDialog{.name = "DNS_CONF_DLG",
                              .className = "CDnsConfDlg",
                              .pageClass = PageClass::SettingDialog,
                              .titleKey = "STR_DLG_DNS_SETTING",
                              .ratioKey = "STR_RATIO_DLG_DNS_SETTING",
                              .controls = kDnsControls,
                              .rules = &kDnsRules};

} // namespace

std::int32_t HostAddressFault(const COctets& octets, bool upperRangeAllowed)
{
    if (FilledFieldCount(octets) < 4) {
        return kFirstEmptyField;
    }
    const std::int16_t first = octets[0];
    const bool badFirst =
        first == 0 || first == 127 || (upperRangeAllowed ? (first == 224 || first == 255) : first >= 224);
    if (badFirst) {
        return 0;
    }
    return octets[3] == 0 ? 3 : -1;
}

bool IsReservedPort(std::int64_t port)
{
    return port == 80 || port == 427 || port == 515 || port == 631 || port == 4567;
}

const CPageDef& TcpIpSettingsPage()
{
    return kTcpIpPageDef;
}

const CPageDef& DnsSettingDialog()
{
    return kDnsDialog;
}

} // namespace qzb
