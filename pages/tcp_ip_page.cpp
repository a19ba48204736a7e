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
    {"STR_AM_NS_CMB_SPEED_DUPLEX_1000_BASE", 5, kLarge},
};

// Protocol switches load as on for any value but 0; a switch with a dialog opens it when checked.
constexpr CControlDef NetworkCheck(std::int32_t id,
                                   std::string_view name,
                                   std::string_view key,
                                   std::string_view item,
                                   std::int32_t row,
                                   std::int32_t column,
                                   std::uint32_t mask,
                                   std::string_view dialog = {})
{
    CControlDef control = CheckBox(id, name, key, item, row, column, mask, Binding::CheckNonZero);
    control.opensDialog = dialog;
    return control;
}

constexpr CControlDef kTcpIpControls[] = {
    Label(kNetworkLabel, "networkLabel", "STR_AM_NS_TXT_NETWORK", 0),
    RadioButton(kNetworkEnable, "networkEnableRadio", "STR_AM_NS_RDO_NETWORK_ENABLE", "NETWORK", 1, 1, true, 0, 1),
    RadioButton(kNetworkDisable, "networkDisableRadio", "STR_AM_NS_RDO_NETWORK_DISABLE", "NETWORK", 1, 0, false, 0, 2),
    Label(2053, "ipSettingLabel", "STR_AM_NS_TXT_IP_SETTING", 1),
    RadioButton(2054, "ipAutoRadio", "STR_AM_NS_RDO_IP_AUTO", "NETWORK_IP", 2, 0, false, 1, 1),
    RadioButton(kIpSpecify, "ipSpecifyRadio", "STR_AM_NS_RDO_IP_SPECIFY", "NETWORK_IP", 2, 1, true, 1, 2),
    Label(2056, "ipAddressLabel", "STR_AM_NS_TXT_IP_ADDRESS", 2),
    AddressField(kIpAddress, "ipAddressAddress", "NETWORK_IP_ADD", Binding::Address, 2),
    Label(2058, "subnetMaskLabel", "STR_AM_NS_TXT_SUBNET_MASK", 3),
    AddressField(kSubnetMask, "subnetMaskAddress", "NETWORK_SUB_MASK", Binding::Address, 3),
    Label(2060, "gatewayLabel", "STR_AM_NS_TXT_GATEWAY", 4),
    AddressField(kGateway, "gatewayAddress", "NETWORK_GATEWAY", Binding::AddressNoneMinusOne, 4),
    NetworkCheck(2062, "dnsCheck", "STR_AM_NS_CHK_DNS", "NETWORK_DNS_CONFIG", 5, 0, kEveryModelMask, "DNS_CONF_DLG"),
    NetworkCheck(2063, "bootpCheck", "STR_AM_NS_CHK_BOOTP", "NETWORK_BOOTP", 5, 1, kEveryModelMask),
    NetworkCheck(kHttp, "httpCheck", "STR_AM_NS_CHK_HTTP", "NETWORK_HTTP", 5, 2, kEveryModelMask),
    NetworkCheck(2065, "snmpCheck", "STR_AM_NS_CHK_SNMP", "NETWORK_SNMP", 6, 0, kEveryModelMask, "SNMP_SET_DLG"),
    NetworkCheck(2066,
                 "ipAddressFilterCheck",
                 "STR_AM_NS_CHK_IP_ADDRESS_FILTER",
                 "NETWORK_IP_ADDRESS_FILTER",
                 6,
                 1,
                 kLarge,
                 "ADD_FILTER_DLG"),
    NetworkCheck(2067, "appleTalkCheck", "STR_AM_NS_CHK_APPLETALK", "NETWORK_APPLETALK", 6, 2, kLarge),
    NetworkCheck(2068, "dhcpCheck", "STR_AM_NS_CHK_DHCP", "NETWORK_DHCP", 7, 0, kEveryModelMask),
    NetworkCheck(2069, "arpPingCheck", "STR_AM_NS_CHK_ARP_PING", "NETWORK_ARP_PING", 7, 1, kEveryModelMask),
    NetworkCheck(2070, "ftpCheck", "STR_AM_NS_CHK_FTP", "NETWORK_FTP", 7, 2, kEveryModelMask, "FTP_SET_DLG"),
    NetworkCheck(2071, "wsdPrintCheck", "STR_AM_NS_CHK_WSD_PRINT", "NETWORK_WSD_PRINT", 8, 0, kLarge),
    NetworkCheck(2072, "ipv6Check", "STR_AM_NS_CHK_IPV6", "NETWORK_IPV6", 8, 1, kLarge, "IPV6_DLG"),
    NetworkCheck(2073, "ieee8021xCheck", "STR_AM_NS_CHK_IEEE802_1X", "NETWORK_IEEE802_1X", 8, 2, kLarge),
    NetworkCheck(2074, "lpdCheck", "STR_AM_NS_CHK_LPD", "NETWORK_LDP", 9, 0, kEveryModelMask),
    NetworkCheck(kIpp, "ippCheck", "STR_AM_NS_CHK_IPP", "NETWORK_IPP", 9, 1, kEveryModelMask, "IPP_SET_DLG"),
    NetworkCheck(2077, "slpCheck", "STR_AM_NS_CHK_SLP", "NETWORK_SLP", 9, 2, kEveryModelMask),
    NetworkCheck(2078, "smbCheck", "STR_AM_NS_CHK_SMB", "NETWORK_SMB", 10, 0, kEveryModelMask, "SMB_SET_DLG"),
    NetworkCheck(
        2079, "bonjourCheck", "STR_AM_NS_CHK_BONJOUR", "NETWORK_BONJOUR", 10, 1, kEveryModelMask, "BONJOUR_SET_DLG"),
    NetworkCheck(2080, "ipsecCheck", "STR_AM_NS_CHK_IPSEC", "NETWORK_IPSEC", 10, 2, kLarge),
    NetworkCheck(2081, "netwareCheck", "STR_AM_NS_CHK_NETWARE", "NETWORK_NETWARE", 11, 0, kLarge),
    NetworkCheck(2082, "dynamicDnsCheck", "STR_AM_NS_CHK_DYNAMIC_DNS", "NETWORK_DYNAMIC_DNS", 11, 1, kLarge),
    // Telnet and SMTP are kept but never shown; the device holds them as "off" flags.
    CheckBox(2085, "telnetCheck", "STR_AM_NS_CHK_TELNET", "NETWORK_TELNET", 12, 0, kNever, Binding::CheckInverted),
    CheckBox(2086, "smtpCheck", "STR_AM_NS_CHK_SMTP", "NETWORK_SMTP", 12, 1, kNever, Binding::CheckInverted),
    {.id = 2087,
     .kind = ControlKind::Button,
     .name = "rawPortButton",
     .textKey = "STR_AM_NS_BTN_RAW_PORT",
     .row = 13,
     .opensDialog = "RAW_PORT_SET_DLG"},
    Label(2083, "speedDuplexLabel", "STR_AM_NS_TXT_SPEED_DUPLEX", 14),
    Combo(2084, "speedDuplexCombo", "NETWORK_SPEED_DUPLEX", kSpeedDuplex, 14),
};

bool IsAddressRow(std::int32_t id)
{
    return id >= 2056 && id <= kGateway;
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
    if (!page.IsChecked(2054) && !page.IsChecked(kIpSpecify)) {
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
    Label(1870, "hostNameLabel", "STR_DLG_DNS_TXT_HOST_NAME", 0),
    TextEdit(kHostName, "hostNameEdit", "DNS_HOST_NAME", 10, 63, 0),
    Label(1872, "dnsServer1Label", "STR_DLG_DNS_TXT_DNS_SERVER_1", 1),
    AddressField(kDnsServers[0], "dnsServer1Address", "DNS_IP_ADDR1", Binding::AddressNoneZero, 1),
    Label(1876, "dnsServer2Label", "STR_DLG_DNS_TXT_DNS_SERVER_2", 2),
    AddressField(kDnsServers[1], "dnsServer2Address", "DNS_IP_ADDR2", Binding::AddressNoneZero, 2),
    Label(1877, "dnsServer3Label", "STR_DLG_DNS_TXT_DNS_SERVER_3", 3),
    AddressField(kDnsServers[2], "dnsServer3Address", "DNS_IP_ADDR3", Binding::AddressNoneZero, 3),
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
