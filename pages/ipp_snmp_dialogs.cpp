#include "pages/network_pages.h"

#include "model/input_chars.h"
#include "model/value_store.h"
#include "pages/common_checks.h"
#include "pages/control_rows.h"

namespace qzb {

using namespace rows;

namespace {

constexpr std::uint32_t kLarge = 0xFF00; // the models of bits 0x100 and 0x200
constexpr std::uint32_t kBase = 0xFF; // the models of bits 0x1, 0x2 and 0x4
constexpr std::uint32_t kSmall = 0x6;
constexpr CheckRule kInOrder = CheckRule::None; // the dialog's rule runs the text check in its own order

// The input kind's text check on each control in turn, skipping rows the model does not have.
CCheckResult CheckTexts(const CPage& page, std::span<const std::int32_t> ids)
{
    for (const std::int32_t id : ids) {
        const CControlDef* control = page.FindControl(id);
        if (control == nullptr || !page.AppliesToModel(control->modelMask)) {
            continue;
        }
        if (!IsInputTextValid(page.State(id).text, control->inputKind, *page.Env().store)) {
            return {kMsgInvalidRangeValue, id};
        }
    }
    return {};
}

constexpr CChoiceDef kIppAuthentication[] = {
    {"STR_DLG_IS_CMB_IPP_AUTH_NONE", 0},
    {"STR_DLG_IS_CMB_IPP_AUTH_REQ_U_N", 1},
    {"STR_DLG_IS_CMB_IPP_AUTH_BASIC", 2},
    {"STR_DLG_IS_CMB_IPP_AUTH_DIGEST", 3},
};
constexpr CChoiceDef kDocumentFormats[] = {
    {"STR_DLG_IS_CMB_TEXT_PLAIN", 0},
    {"STR_DLG_IS_CMB_APP_VND_HP_PCL", 1},
    {"STR_DLG_IS_CMB_APP_OCTET_STREAM", 2},
};

constexpr CControlDef kIppControls[] = {
    CheckBox(1420, "ippPrintCheck", "STR_DLG_IS_CHK_IPP_PRINT", "IPP_PRINTER", 0, 0, kLarge),
    CheckBox(1421, "acceptIppJobCheck", "STR_DLG_IS_CHK_ACCEPT_IPP_JOB", "IPP_ACCEPT_IPP_JOB", 0, 1, kLarge),
    Label(1422, "printerNameLabel", "STR_DLG_IS_TXT_PRINTER_NAME", 1),
    TextEdit(1423, "printerNameEdit", "IPP_PRINTER_NAME", 7, 127, 1, kEveryModelMask, kInOrder),
    Label(1424, "printerLocationLabel", "STR_DLG_IS_TXT_PRINTER_LOCATION", 2),
    TextEdit(1425, "printerLocationEdit", "IPP_PRINTER_LOCATION", 7, 127, 2, kEveryModelMask, kInOrder),
    Label(1426, "printerInformationLabel", "STR_DLG_IS_TXT_PRINTER_INFORMATION", 3),
    TextEdit(1427, "printerInformationEdit", "IPP_PRINTER_INFORMATION", 18, 127, 3, kEveryModelMask, kInOrder),
    Label(1428, "morePrinterInfoLabel", "STR_DLG_IS_TXT_MORE_PRINTER_INFO", 4, kBase),
    TextEdit(1429, "morePrinterInfoEdit", "IPP_PRINTER_MORE_PRINTER_INFO", 7, 127, 4, kBase, kInOrder),
    Label(1430, "printerUriLabel", "STR_DLG_IS_TXT_PRINTER_URI", 5, kLarge),
    TextEdit(1431, "printerUriEdit", "IPP_PRINTER_URI", 7, 0, 5, kLarge, kInOrder),
    Label(1432, "driverInstallerLabel", "STR_DLG_IS_TXT_DRIVER_INSTALLER", 6, kBase),
    TextEdit(1433, "driverInstallerEdit", "IPP_PRINTER_DRIVER_INSTALLER", 7, 127, 6, kBase, kInOrder),
    Label(1434, "makeAndModelLabel", "STR_DLG_IS_TXT_MAKE_AND_MODEL", 7, kBase),
    TextEdit(1435, "makeAndModelEdit", "IPP_PRINTER_MAKE_AND_MODEL", 7, 127, 7, kBase, kInOrder),
    Label(1436, "manufacturerInfoLabel", "STR_DLG_IS_TXT_MANUFACTURER_INFO", 8, kBase),
    TextEdit(1437, "manufacturerInfoEdit", "IPP_MORE_PRINTER_INFO_MANUFACTURE", 7, 127, 8, kBase, kInOrder),
    Label(1438, "operationsSupportedLabel", "STR_DLG_IS_TXT_OPERATIONS_SUPPORTED", 9),
    CheckBox(1439, "printJobCheck", "STR_DLG_IS_CHK_PRINT_JOB", "IPP_PRINT_JOB", 9, 1),
    CheckBox(1440, "cancelJobCheck", "STR_DLG_IS_CHK_CANCEL_JOB", "IPP_CANCEL_JOB", 9, 2),
    CheckBox(1441, "getJobCheck", "STR_DLG_IS_CHK_GET_JOB", "IPP_GET_JOB", 10, 1),
    CheckBox(1442, "validateJobCheck", "STR_DLG_IS_CHK_VALIDATE_JOB", "IPP_VALIDATE_JOB", 10, 2),
    CheckBox(1443, "getJobAttributesCheck", "STR_DLG_IS_CHK_GET_JOB_ATTRIBUTES", "IPP_GET_JOB_ATTRIBUTES", 11, 1),
    CheckBox(1444,
             "getPrinterAttributesCheck",
             "STR_DLG_IS_CHK_GET_PRINTER_ATTRIBUTES",
             "IPP_GET_PRINTER_ATTRIBUTES",
             11,
             2),
    Label(1445, "ippAuthenticationLabel", "STR_DLG_IS_TXT_IPP_AUTHENTICATION", 12, kLarge),
    Combo(1446, "ippAuthenticationCombo", "IPP_AUTHENTICATION", kIppAuthentication, 12, kLarge),
    Label(1447, "documentFormatsLabel", "STR_DLG_IS_TXT_DOCUMENT_FORMATS_SUPPORTED", 13, kBase),
    CheckBox(1448, "textPlainCheck", "STR_DLG_IS_CHK_TEXT_PLAIN", "IPP_TEXT_PLAIN", 13, 1, kBase),
    CheckBox(1449, "vndHpPclCheck", "STR_DLG_IS_CHK_APP_VND_HP_PCL", "IPP_APP_VND_HP_PCL", 13, 2, kBase),
    CheckBox(1450, "octetStreamCheck", "STR_DLG_IS_CHK_APP_OCTET_STREAM", "IPP_APP_OCTET_STREAM", 14, 1, kBase),
    Label(1451, "ippUserNameLabel", "STR_DLG_IS_TXT_USER_NAME", 15, kLarge),
    TextEdit(1452, "ippUserNameEdit", "IPP_USER_NAME", 7, 20, 15, kLarge, kInOrder),
    Label(1453, "ippPasswordLabel", "STR_DLG_IS_TXT_PASSWORD", 16, kLarge),
    PasswordEdit(1454, "ippPasswordEdit", "IPP_PASSWORD", 8, 20, 16, kLarge),
    Label(1455, "documentFormatLabel", "STR_DLG_IS_TXT_DOCUMENT_FORMAT", 17, kBase),
    Combo(1456, "documentFormatCombo", "IPP_DOCUMENT_FORMAT", kDocumentFormats, 17, kBase),
    Label(1457, "messageFromOperatorLabel", "STR_DLG_IS_TXT_MESSAGE_FROM_OPERATOR", 18, kBase),
    TextEdit(1458, "messageFromOperatorEdit", "IPP_MESSAGE_FROM_OPERATOR", 18, 127, 18, kBase, kInOrder),
    Label(1459, "realmLabel", "STR_DLG_IS_TXT_REALM", 19, kLarge),
    TextEdit(1460, "realmEdit", "IPP_REALM", 7, 127, 19, kLarge, kInOrder),
    Label(1461, "jobKOctetsLabel", "STR_DLG_IS_TXT_JOB_K_OCTETS_SUPPORTED", 20, kSmall),
    // The device reports the largest job it takes; the dialog shows it and leaves it alone.
    {.id = 1462,
     .kind = ControlKind::Edit,
     .name = "jobKOctetsEdit",
     .modelMask = kSmall,
     .hideExcluded = true,
     .binding = Binding::Number,
     .item = "IPP_JOB_K_OCTETS_SUPPORTED",
     .limit = 10,
     .inputKind = 4,
     .row = 20,
     .column = 1,
     .readOnly = true},
};

constexpr std::int32_t kIppCheckOrder[] = {1423, 1425, 1427, 1429, 1433, 1435, 1437, 1458, 1431, 1452, 1454, 1460};

CCheckResult CheckIpp(const CPage& page)
{
    return CheckTexts(page, kIppCheckOrder);
}

constexpr CPageRules kIppRules{.check = CheckIpp};

constexpr CPageDef kIppDialog{.name = "IPP_SET_DLG",
                              .className = "CIppSetDlg",
                              .pageClass = PageClass::SettingDialog,
                              .titleKey = "STR_DLG_IPP_SETTING",
                              .ratioKey = "STR_RATIO_DLG_IPP_SETTING",
                              .controls = kIppControls,
                              .rules = &kIppRules};

constexpr std::int32_t kUdpPort = 1750;

constexpr CChoiceDef kSnmpOnOff[] = {{"STR_DLG_SNMP_CMB_SNMP_DISABLE", 0}, {"STR_DLG_SNMP_CMB_SNMP_ENABLE", 1}};
constexpr CChoiceDef kV1V2OnOff[] = {
    {"STR_DLG_SNMP_CMB_SNMP_V1_V2C_IP_DISABLE", 0},
    {"STR_DLG_SNMP_CMB_SNMP_V1_V2C_IP_ENABLE", 1},
};
constexpr CChoiceDef kV3OnOff[] = {
    {"STR_DLG_SNMP_CMB_SNMP_V3_IP_DISABLE", 0},
    {"STR_DLG_SNMP_CMB_SNMP_V3_IP_ENABLE", 1},
};
constexpr CChoiceDef kV1IpxOnOff[] = {
    {"STR_DLG_SNMP_CMB_SNMP_V1_IPX_DISABLE", 0},
    {"STR_DLG_SNMP_CMB_SNMP_V1_IPX_ENABLE", 1},
};
constexpr CChoiceDef kWriteOnOff[] = {{"STR_DLG_SNMP_CMB_WRITE_DISABLE", 0}, {"STR_DLG_SNMP_CMB_WRITE_ENABLE", 1}};
constexpr CChoiceDef kDiscoveryOnOff[] = {
    {"STR_DLG_SNMP_CMB_DISCOVERY_DISABLE", 0},
    {"STR_DLG_SNMP_CMB_DISCOVERY_ENABLE", 1},
};
constexpr CChoiceDef kReadSecurityLevels[] = {
    {"STR_DLG_SNMP_CMB_READ_SEC_LEVEL_NONE", 0},
    {"STR_DLG_SNMP_CMB_READ_SEC_LEVEL_AUTH_PASS", 1},
    {"STR_DLG_SNMP_CMB_READ_SEC_LEVEL_AUTH_PRIV", 2},
};
constexpr CChoiceDef kWriteSecurityLevels[] = {
    {"STR_DLG_SNMP_CMB_WRITE_SEC_LEVEL_NONE", 0},
    {"STR_DLG_SNMP_CMB_WRITE_SEC_LEVEL_AUTH_PASS", 1},
    {"STR_DLG_SNMP_CMB_WRITE_SEC_LEVEL_AUTH_PRIV", 2},
};
constexpr CChoiceDef kAllowSetting[] = {
    {"STR_DLG_SNMP_CMB_ALLOW_SETTING_ALLOW", 0},
    {"STR_DLG_SNMP_CMB_ALLOW_SETTING_RESTRICT", 1},
};
constexpr CChoiceDef kAuthFails[] = {
    {"STR_DLG_SNMP_CMB_AUTH_FAILS_DISABLE", 0},
    {"STR_DLG_SNMP_CMB_AUTH_FAILS_ENABLE", 1},
};

constexpr CControlDef kSnmpControls[] = {
    Label(1740, "snmpProtocolLabel", "STR_DLG_SNMP_TXT_PROTOCOL", 0, kLarge),
    Label(1741, "snmpLabel", "STR_DLG_SNMP_TXT_SNMP", 1, kLarge),
    Combo(1742, "snmpCombo", "SNMP", kSnmpOnOff, 1, kLarge),
    Label(1743, "snmpV1V2Label", "STR_DLG_SNMP_TXT_SNMP_V1_V2C_IP", 2, kLarge),
    Combo(1744, "snmpV1V2Combo", "SNMP_V1_V2", kV1V2OnOff, 2, kLarge),
    Label(1745, "snmpV3Label", "STR_DLG_SNMP_TXT_SNMP_V3_IP", 3, kLarge),
    Combo(1746, "snmpV3Combo", "SNMP_V3", kV3OnOff, 3, kLarge),
    Label(1747, "snmpV1IpxLabel", "STR_DLG_SNMP_TXT_SNMP_V1_IPX", 4, kLarge),
    Combo(1748, "snmpV1IpxCombo", "SNMP_V1", kV1IpxOnOff, 4, kLarge),
    Label(1749, "udpPortLabel", "STR_DLG_SNMP_TXT_UDP_PORT", 5),
    PortEdit(kUdpPort, "udpPortEdit", "SNMP_UDP_PORT", 5, 1, 65535, 5),
    {.id = 1751, .name = "udpPortRangeLabel", .textKey = "STR_DLG_SNMP_TXT_UDP_PORT_RANGE", .row = 5, .column = 2},
    Label(1752, "communityLabel", "STR_DLG_SNMP_TXT_V1_V2C_COMMUNITY", 6, kLarge),
    Label(1753, "readCommunityLabel", "STR_DLG_SNMP_TXT_READ_COMMUNITY", 7),
    TextEdit(1754, "readCommunityEdit", "SNMP_READ_COMMUNITY_NAME", 8, 15, 7, kEveryModelMask, kInOrder),
    Label(1755, "writeLabel", "STR_DLG_SNMP_TXT_WRITE", 8),
    Combo(1756, "writeCombo", "SNMP_WRITE", kWriteOnOff, 8),
    Label(1757, "writeCommunityLabel", "STR_DLG_SNMP_TXT_WRITE_COMMUNITY", 9),
    TextEdit(1758, "writeCommunityEdit", "SNMP_WRITE_COMMUNITY_NAME", 8, 15, 9, kEveryModelMask, kInOrder),
    Label(1759, "snmpV3SettingsLabel", "STR_DLG_SNMP_TXT_V3_SETTINGS", 10, kLarge),
    Label(1760, "contextNameLabel", "STR_DLG_SNMP_TXT_CONTEXT_NAME", 11, kLarge),
    TextEdit(1761, "contextNameEdit", "SNMP_CONTEXT_NAME", 15, 15, 11, kLarge, kInOrder),
    Label(1762, "discoveryLabel", "STR_DLG_SNMP_TXT_DISCOVERY", 12, kLarge),
    Combo(1763, "discoveryCombo", "SNMP_DISCOVERY", kDiscoveryOnOff, 12, kLarge),
    Label(1764, "discoveryUserNameLabel", "STR_DLG_SNMP_TXT_DISCOVERY_USER_NAME", 13, kLarge),
    TextEdit(1765, "discoveryUserNameEdit", "SNMP_DISCOVERY_USER_NAME", 15, 32, 13, kLarge, kInOrder),
    Label(1766, "readUserNameLabel", "STR_DLG_SNMP_TXT_READ_USER_NAME", 14, kLarge),
    TextEdit(1767, "readUserNameEdit", "SNMP_READ_USER_NAME", 15, 32, 14, kLarge, kInOrder),
    Label(1768, "readSecurityLevelLabel", "STR_DLG_SNMP_TXT_READ_SECURITY_LEVEL", 15, kLarge),
    Combo(1769, "readSecurityLevelCombo", "SNMP_READ_SECU LEVEL", kReadSecurityLevels, 15, kLarge),
    Label(1770, "readAuthPasswordLabel", "STR_DLG_SNMP_TXT_READ_AUTH_PASSWORD", 16, kLarge),
    PasswordEdit(1771, "readAuthPasswordEdit", "SNMP_READ_AUTH_PASSWORD", 15, 32, 16, kLarge),
    Label(1772, "readPrivPasswordLabel", "STR_DLG_SNMP_TXT_READ_PRIV_PASSWORD", 17, kLarge),
    PasswordEdit(1773, "readPrivPasswordEdit", "SNMP_READ_PRIV_PASSWORD", 15, 32, 17, kLarge),
    Label(1774, "writeUserNameLabel", "STR_DLG_SNMP_TXT_WRITE_USER_NAME", 18, kLarge),
    TextEdit(1775, "writeUserNameEdit", "SNMP_WRITE_USER_NAME", 15, 32, 18, kLarge, kInOrder),
    Label(1776, "writeSecurityLevelLabel", "STR_DLG_SNMP_TXT_WRITE_SECURITY_LEVEL", 19, kLarge),
    Combo(1777, "writeSecurityLevelCombo", "SNMP_WRITE_SECURITY_LEVEL", kWriteSecurityLevels, 19, kLarge),
    Label(1781, "writeAuthPasswordLabel", "STR_DLG_SNMP_TXT_WRITE_AUTH_PASSWORD", 20, kLarge),
    PasswordEdit(1778, "writeAuthPasswordEdit", "SNMP_WRITE_AUTH_PASSWORD", 15, 32, 20, kLarge),
    Label(1779, "writePrivPasswordLabel", "STR_DLG_SNMP_TXT_WRITE_PRIV_PASSWORD", 21, kLarge),
    PasswordEdit(1780, "writePrivPasswordEdit", "SNMP_WRITE_PRIV_PASSWORD", 15, 32, 21, kLarge),
    Label(1783, "allowSettingLabel", "STR_DLG_SNMP_TXT_ALLOW_SETTING", 22, kLarge),
    Combo(1784, "allowSettingCombo", "SNMP_ALLOW_SET", kAllowSetting, 22, kLarge),
    Label(1785, "authFailsTrapLabel", "STR_DLG_SNMP_TXT_AUTH_FAILS_TRAP", 23, kLarge),
    Combo(1786, "authFailsTrapCombo", "SNMP_TRAP_SET_AUTH_FAILS", kAuthFails, 23, kLarge),
};

constexpr std::int32_t kSnmpCheckOrder[] = {1754, 1758, 1761, 1765, 1767, 1771, 1773, 1775, 1778, 1780};

// After the port's own range check: no port of the device's services and not the RAW port.
CCheckResult CheckSnmp(const CPage& page)
{
    const std::int64_t port = LeadingDecimal(page.State(kUdpPort).text);
    if (IsReservedPort(port) || port == page.Env().store->GetItemNumber("RAW_PORT_SET_DLG", "IPP_RAW_PORT_NO")) {
        return {kMsgInvalidRangeValue, kUdpPort};
    }
    return CheckTexts(page, kSnmpCheckOrder);
}

constexpr CPageRules kSnmpRules{.check = CheckSnmp};

constexpr CPageDef kSnmpDialog{.name = "SNMP_SET_DLG",
                               .className = "CSnmpSetDlg",
                               .pageClass = PageClass::SettingDialog,
                               .titleKey = "STR_DLG_SNMP",
                               .ratioKey = "STR_RATIO_DLG_SNMP",
                               .controls = kSnmpControls,
                               .rules = &kSnmpRules};

} // namespace

const CPageDef& IppSettingDialog()
{
    return kIppDialog;
}

const CPageDef& SnmpSettingDialog()
{
    return kSnmpDialog;
}

} // namespace qzb
