// The item table: every device parameter the settings part of a machine image can carry, tied to the
// value-store record it fills. Row order matters: the encoder writes rows in this order and the first
// download request asks for their ids in this order.
#include "model/item_table.h"

#include "model/image_layout.h"

#include <array>
#include <iterator>

namespace qzb {

namespace {

using enum ItemKind;
using enum CompositeLayout;

constexpr CItemRow kItemTable[] = {
    {"USER_FAX_PTT_SET", "USER_SET_DLG", 0x10600, Number, None},
    {"", "", 0x21000, Composite, OperationBlock},
    {"MACHINE_ADMIN_NAME_EDT", "MACHINE_SET_DLG", 0x10012, Text, None},
    {"MACHINE_DEVICE_NAME_EDT", "MACHINE_SET_DLG", 0x10013, Text, None},
    {"MACHINE_DEVICE_PLACE_EDT", "MACHINE_SET_DLG", 0x10014, Text, None},
    {"Machine_Auto_panel_reset_OnOff", "MACHINE_SET_DLG", 0x10000, Number, None},
    {"Machine_Auto_panel_reset_Time", "MACHINE_SET_DLG", 0x10001, Number, None},
    {"MACHINE_PRE_HEAT_MODE", "MACHINE_SET_DLG", 0x10002, Number, None},
    {"Machine_Energy_save_mode_OnOff", "MACHINE_SET_DLG", 0x10003, Number, None},
    {"Machine_Energy_save_mode_time", "MACHINE_SET_DLG", 0x10004, Number, None},
    {"Machine_LCD_contrast", "MACHINE_SET_DLG", 0x10005, Number, None},
    {"Machine_Language", "MACHINE_SET_DLG", 0x10006, Number, None},
    {"MACHINE_LAMP_ONOFF", "MACHINE_SET_DLG", 0x10007, Number, None},
    {"Machine_Buzzer_Volume", "MACHINE_SET_DLG", 0x10008, Number, None},
    {"Machine_Initial_mode", "MACHINE_SET_DLG", 0x10009, Number, None},
    {"Machine_Toner_empty_stop", "MACHINE_SET_DLG", 0x1000A, Number, None},
    {"Machine_Toner_near_empty", "MACHINE_SET_DLG", 0x1000B, Number, None},
    {"Machine_Auto_continue", "MACHINE_SET_DLG", 0x1000C, Number, None},
    {"Machine_Calibration", "MACHINE_SET_DLG", 0x1000D, Number, None},
    {"Machine_Toner_caribration", "MACHINE_SET_DLG", 0x1000E, Number, None},
    {"MACHINE_TIME_TO_START", "MACHINE_SET_DLG", 0x1000F, Number, None},
    {"MACHINE_INTERVAL", "MACHINE_SET_DLG", 0x10010, Number, None},
    {"MACHINE_LAMP_WARMUP", "MACHINE_SET_DLG", 0x10011, Number, None},
    {"Machine_Duplex_speed", "MACHINE_SET_DLG", 0x10015, Number, None},
    {"ADMINSTRATOR_NO", "ADMINSTRATOR_NO_DLG", 0x10200, Number, None},
    {"ADMIN_S_REM_MONITOR_STATUS", "REMOTE_MONITOR_DLG", 0x10201, Number, None},
    {"PAPER_TRAY1_MEDIA_TYPE", "PAPER_SET_DLG", 0x10100, Number, None},
    {"PAPER_TRAY1_PAPER_SIZE", "PAPER_SET_DLG", 0x10101, Number, None},
    {"PAPER_TRAY2_PAPER_SIZE", "PAPER_SET_DLG", 0x10104, Number, None},
    {"PAPER_TRAY3_PAPER_SIZE", "PAPER_SET_DLG", 0x10107, Number, None},
    {"PAPER_TRAY1_CUSTOM_X", "CUSTOM_PAPER_SIZE_DLG", 0x10102, Number, None},
    {"PAPER_TRAY1_CUSTOM_Y", "CUSTOM_PAPER_SIZE_DLG", 0x10103, Number, None},
    {"PAPER_TRAY2_CUSTOM_X", "CUSTOM_PAPER_SIZE_DLG", 0x10105, Number, None},
    {"PAPER_TRAY2_CUSTOM_Y", "CUSTOM_PAPER_SIZE_DLG", 0x10106, Number, None},
    {"LDAP_MEMORY_DIRECT", "MEMORY_DIRECT_DLG", 0x10414, Number, None},
    {"LDAP_CAMERA_DIRECT", "CAMERA_DIRECT_DLG", 0x10415, Number, None},
    {"AUTO_REDIAL_NUMBER_OF_TIME", "AUTO_REDIAL_DLG", 0x10C0C, Number, None},
    {"AUTO_REDIAL_WAIT_TIME", "AUTO_REDIAL_DLG", 0x10C0D, Number, None},
    {"NETWORK", "TCP_IP_SET_DLG", 0x1022C, Number, None},
    {"NETWORK_IP", "TCP_IP_SET_DLG", 0x10202, Number, None},
    {"buffer length", "TCP_IP_SET_DLG", 0x10203, Number, None},
    {"NETWORK_IP_ADD_1", "TCP_IP_SET_DLG", 0x10204, Address, None},
    {"buffer length", "TCP_IP_SET_DLG", 0x10205, Number, None},
    {"NETWORK_SUB_MASK_1", "TCP_IP_SET_DLG", 0x10206, Address, None},
    {"buffer length", "TCP_IP_SET_DLG", 0x10207, Number, None},
    {"NETWORK_GATEWAY_1", "TCP_IP_SET_DLG", 0x10208, Address, None},
    {"NETWORK_DNS_CONFIG", "TCP_IP_SET_DLG", 0x10209, Number, None},
    {"NETWORK_DHCP", "TCP_IP_SET_DLG", 0x10210, Number, None},
    {"NETWORK_BOOTP", "TCP_IP_SET_DLG", 0x10211, Number, None},
    {"NETWORK_ARP_PING", "TCP_IP_SET_DLG", 0x10212, Number, None},
    {"NETWORK_HTTP", "TCP_IP_SET_DLG", 0x10213, Number, None},
    {"NETWORK_FTP", "TCP_IP_SET_DLG", 0x10214, Number, None},
    {"NETWORK_SMB", "TCP_IP_SET_DLG", 0x10215, Number, None},
    {"NETWORK_BONJOUR", "TCP_IP_SET_DLG", 0x10217, Number, None},
    {"NETWORK_DYNAMIC_DNS", "TCP_IP_SET_DLG", 0x10218, Number, None},
    {"NETWORK_IPP", "TCP_IP_SET_DLG", 0x10219, Number, None},
    {"NETWORK_RAWPORT", "TCP_IP_SET_DLG", 0x1021A, Number, None},
    {"NETWORK_SLP", "TCP_IP_SET_DLG", 0x1021C, Number, None},
    {"NETWORK_LDP", "TCP_IP_SET_DLG", 0x1024D, Number, None},
    {"NETWORK_SNMP", "TCP_IP_SET_DLG", 0x1021E, Number, None},
    {"NETWORK_WSD_PRINT", "TCP_IP_SET_DLG", 0x1021F, Number, None},
    {"NETWORK_IPSEC", "TCP_IP_SET_DLG", 0x10220, Number, None},
    {"NETWORK_NETWARE", "TCP_IP_SET_DLG", 0x10228, Number, None},
    {"NETWORK_APPLETALK", "TCP_IP_SET_DLG", 0x10229, Text, None},
    {"NETWORK_SPEED_DUPLEX", "TCP_IP_SET_DLG", 0x1022A, Number, None},
    {"NETWORK_IEEE802_1X", "TCP_IP_SET_DLG", 0x1022B, Number, None},
    {"DNS_HOST_NAME", "DNS_CONF_DLG", 0x1022D, Text, None},
    {"buffer length", "DNS_CONF_DLG", 0x1020A, Number, None},
    {"DNS_IP_ADDR1_1", "DNS_CONF_DLG", 0x1020B, Address, None},
    {"buffer length", "DNS_CONF_DLG", 0x1020C, Number, None},
    {"DNS_IP_ADDR2_1", "DNS_CONF_DLG", 0x1020D, Address, None},
    {"buffer length", "DNS_CONF_DLG", 0x1020E, Number, None},
    {"DNS_IP_ADDR3_1", "DNS_CONF_DLG", 0x1020F, Address, None},
    {"PROXY_SERVER", "FTP_SET_DLG", 0x10230, Text, None},
    {"FTP_PROXY_PORT_NUMBER", "FTP_SET_DLG", 0x10231, Number, None},
    {"FTP_CONNECTION_TIMEOUT", "FTP_SET_DLG", 0x10232, Number, None},
    {"SMB_USER_AUTHENTICATION", "SMB_SET_DLG", 0x10233, Number, None},
    {"BONJOUR_NAME", "BONJOUR_SET_DLG", 0x10234, Text, None},
    {"BONJOUR_PRIORITY_PROTOCOL", "BONJOUR_SET_DLG", 0x10235, Number, None},
    {"IPP_PRINTER_NAME", "IPP_SET_DLG", 0x10236, Text, None},
    {"IPP_PRINTER_LOCATION", "IPP_SET_DLG", 0x10237, Text, None},
    {"IPP_PRINTER_INFORMATION", "IPP_SET_DLG", 0x10238, Text, None},
    {"IPP_PRINTER_MORE_PRINTER_INFO", "IPP_SET_DLG", 0x10239, Text, None},
    {"IPP_PRINTER_DRIVER_INSTALLER", "IPP_SET_DLG", 0x1023A, Text, None},
    {"IPP_PRINTER_MAKE_AND_MODEL", "IPP_SET_DLG", 0x1023B, Text, None},
    {"IPP_MORE_PRINTER_INFO_MANUFACTURE", "IPP_SET_DLG", 0x1023C, Text, None},
    {"IPP_PRINT_JOB", "IPP_SET_DLG", 0x1023D, Number, None},
    {"IPP_CANCEL_JOB", "IPP_SET_DLG", 0x1023E, Number, None},
    {"IPP_GET_JOB", "IPP_SET_DLG", 0x1023F, Number, None},
    {"IPP_VALIDATE_JOB", "IPP_SET_DLG", 0x10240, Number, None},
    {"IPP_GET_JOB_ATTRIBUTES", "IPP_SET_DLG", 0x10241, Number, None},
    {"IPP_GET_PRINTER_ATTRIBUTES", "IPP_SET_DLG", 0x10242, Number, None},
    {"IPP_TEXT_PLAIN", "IPP_SET_DLG", 0x10243, Number, None},
    {"IPP_APP_VND_HP_PCL", "IPP_SET_DLG", 0x10244, Number, None},
    {"IPP_APP_OCTET_STREAM", "IPP_SET_DLG", 0x10245, Number, None},
    {"IPP_DOCUMENT_FORMAT", "IPP_SET_DLG", 0x10246, Number, None},
    {"IPP_MESSAGE_FROM_OPERATOR", "IPP_SET_DLG", 0x10247, Text, None},
    {"IPP_RAW_PORT_NO", "RAW_PORT_SET_DLG", 0x10248, Number, None},
    {"IPP_RAW_PORT_BIDIRECTION", "RAW_PORT_SET_DLG", 0x1021B, Number, None},
    {"SNMP_UDP_PORT", "SNMP_SET_DLG", 0x10249, Number, None},
    {"SNMP_READ_COMMUNITY_NAME", "SNMP_SET_DLG", 0x1024A, Text, None},
    {"SNMP_WRITE", "SNMP_SET_DLG", 0x1024B, Number, None},
    {"SNMP_WRITE_COMMUNITY_NAME", "SNMP_SET_DLG", 0x1024C, Text, None},
    {"ADDRESS_FILTER_ACCESS_PERMISSION", "ADD_FILTER_DLG", 0x10221, Number, None},
    {"ADDRESS_FILTER_ACCESS_REFUSE", "ADD_FILTER_DLG", 0x10222, Number, None},
    {"EMAIL_ENABLE", "EMAIL_SET_DLG", 0x10300, Number, None},
    {"EMAIL_SCAN_SENDING", "EMAIL_SET_DLG", 0x1031D, Number, None},
    {"buffer length", "EMAIL_SET_DLG", 0x10301, Number, None},
    {"EMAIL_SENDER_NAME", "EMAIL_SET_DLG", 0x10302, Text, None},
    {"buffer length", "EMAIL_SET_DLG", 0x10303, Number, None},
    {"EMAIL_ADR", "EMAIL_SET_DLG", 0x10304, Text, None},
    {"buffer length", "EMAIL_SET_DLG", 0x10305, Number, None},
    {"EMAIL_SBJ", "EMAIL_SET_DLG", 0x10306, Text, None},
    {"buffer length", "EMAIL_SET_DLG", 0x10307, Number, None},
    {"EMAIL_SMTP_NAME", "EMAIL_SET_DLG", 0x10308, Text, None},
    {"EMAIL_SMTP_PORT_NO", "EMAIL_SET_DLG", 0x10309, Number, None},
    {"EMAIL_SMTP_TIMEOUT", "EMAIL_SET_DLG", 0x1030A, Number, None},
    {"EMAIL_TEXT_INSERT", "EMAIL_SET_DLG", 0x1030B, Number, None},
    {"EMAIL_COMM_MODE", "EMAIL_SET_DLG", 0x1031B, Number, None},
    {"EMAIL_COMM_WAIT_TIME", "EMAIL_SET_DLG", 0x1031C, Number, None},
    {"buffer length", "EMAIL_SET_DLG", 0x1030E, Number, None},
    {"EMAIL_POP3_NAME_ADDR", "EMAIL_SET_DLG", 0x1030F, Text, None},
    {"buffer length", "EMAIL_SET_DLG", 0x10312, Number, None},
    {"EMAIL_POP3_ACCOUNT", "EMAIL_SET_DLG", 0x10313, Text, None},
    {"buffer length", "EMAIL_SET_DLG", 0x10314, Number, None},
    {"EMAIL_POP3_PASS", "EMAIL_SET_DLG", 0x10315, Text, None},
    {"EMAIL_POP3_PORT_NO", "EMAIL_SET_DLG", 0x10310, Number, None},
    {"EMAIL_POP3_TIMEOUT", "EMAIL_SET_DLG", 0x10311, Number, None},
    {"EMAIL_SMTP", "EMAIL_SET_DLG", 0x10316, Number, None},
    {"buffer length", "EMAIL_SET_DLG", 0x10317, Number, None},
    {"EMAIL_SMTP_USER_NAME", "EMAIL_SET_DLG", 0x10318, Text, None},
    {"buffer length", "EMAIL_SET_DLG", 0x10319, Number, None},
    {"EMAIL_SMTP_PW", "EMAIL_SET_DLG", 0x1031A, Text, None},
    {"LDAP", "LDAP_SET_DLG", 0x10400, Number, None},
    {"buffer length", "LDAP_SET_DLG", 0x10401, Number, None},
    {"LDAP_SER_NAME", "LDAP_SET_DLG", 0x10402, Text, None},
    {"LDAP_SSL", "LDAP_SET_DLG", 0x10404, Number, None},
    {"LDAP_SER_PORT_NO", "LDAP_SET_DLG", 0x10403, Number, None},
    {"LDAP_SSL_PORT_NO", "LDAP_SET_DLG", 0x10405, Number, None},
    {"buffer length", "LDAP_SET_DLG", 0x10406, Number, None},
    {"LDAP_SEARCH_ROOT", "LDAP_SET_DLG", 0x10407, Text, None},
    {"buffer length", "LDAP_SET_DLG", 0x10408, Number, None},
    {"LDAP_ATTRIBUTE", "LDAP_SET_DLG", 0x10409, Text, None},
    {"LDAP_TIMEOUT", "LDAP_SET_DLG", 0x1040B, Number, None},
    {"LDAP_SEARCH_MHD", "LDAP_SET_DLG", 0x1040A, Number, None},
    {"LDAP_MAX_SEARCH_TIME", "LDAP_SET_DLG", 0x1040C, Number, None},
    {"LDAP_AUTH", "LDAP_SET_DLG", 0x1040D, Number, None},
    {"buffer length", "LDAP_SET_DLG", 0x1040E, Number, None},
    {"LDAP_ACCOUNT", "LDAP_SET_DLG", 0x1040F, Text, None},
    {"buffer length", "LDAP_SET_DLG", 0x10410, Number, None},
    {"LDAP_PASS", "LDAP_SET_DLG", 0x10411, Text, None},
    {"buffer length", "LDAP_SET_DLG", 0x10412, Number, None},
    {"LDAP_DOMAIN", "LDAP_SET_DLG", 0x10413, Text, None},
    {"USB_SET", "USB_SET_DLG", 0x10416, Number, None},
    {"COMM_SET_TONE_PULSE", "COMMUNICATE_SET_DLG", 0x10500, Number, None},
    {"COMM_SET_PULSE", "COMMUNICATE_SET_DLG", 0x10501, Number, None},
    {"COMM_SET_LINE_MONITOR", "COMMUNICATE_SET_DLG", 0x10502, Number, None},
    {"COMM_SET_PSTN_PBX", "COMMUNICATE_SET_DLG", 0x10503, Number, None},
    {"buffer length", "COMMUNICATE_SET_DLG", 0x10505, Number, None},
    {"COMM_SET_PSTN_PBX", "COMMUNICATE_SET_DLG", 0x10504, Text, None},
    {"COMM_SET_TEL_FAXMODE", "COMMUNICATE_SET_DLG", 0x10506, Number, None},
    {"COMM_SET_RBT_SIGNAL_TIME", "COMMUNICATE_SET_DLG", 0x10507, Number, None},
    {"COMM_SET_ANSWER_MACHINE", "COMMUNICATE_SET_DLG", 0x10508, Number, None},
    {"buffer length", "USER_SET_DLG", 0x10608, Composite, DateTime},
    {"USER_TIME_ZOON", "USER_SET_DLG", 0x10601, Number, None},
    {"USER_DATE_FORMAT_SET", "USER_SET_DLG", 0x10602, Number, None},
    {"USER_PRESET_ZOOM_CHANGE", "USER_SET_DLG", 0x10603, Number, None},
    {"buffer length", "USER_SET_DLG", 0x10605, Number, None},
    {"USER_FAXNAME", "USER_SET_DLG", 0x10604, Text, None},
    {"buffer length", "USER_SET_DLG", 0x10606, Number, None},
    {"USER_NAME", "USER_SET_DLG", 0x10607, Text, None},
    {"COPY1_PAPER_PRIORITY", "COPY_SET_DLG", 0x10700, Number, None},
    {"COPY1_QUALITY_PRIORITY", "COPY_SET_DLG", 0x10701, Number, None},
    {"COPY1_DENSITY_PRIORITY", "COPY_SET_DLG", 0x10702, Number, None},
    {"COPY1_DENSITY_LEVEL_AUTO", "COPY_SET_DLG", 0x10703, Number, None},
    {"COPY1_DENSITY_LEVEL_MANUAL", "COPY_SET_DLG", 0x10704, Number, None},
    {"COPY1_OUTPUT_PRIORITY", "COPY_SET_DLG", 0x10705, Number, None},
    {"COPY1_4IN1_COPY_ORDER", "COPY_SET_DLG", 0x10706, Number, None},
    {"COPY1_DUPLEX_COPY", "COPY_SET_DLG", 0x10707, Number, None},
    {"FAX_TX_OPERATION_DENSITY_LEVEL", "FAX_TX_SET_DLG", 0x10800, Number, None},
    {"FAX_TX_OPERATION_QUALITY_PRIORITY", "FAX_TX_SET_DLG", 0x10801, Number, None},
    {"FAX_TX_OPE_DEFAULT_TX", "FAX_TX_SET_DLG", 0x10802, Number, None},
    {"FAX_TX_OPE_HEADER", "FAX_TX_SET_DLG", 0x10803, Number, None},
    {"FAX_RX_OPE_MEMORY_RX_MODE", "FAX_RX_SET_DLG", 0x10900, Number, None},
    {"buffer length", "FAX_RX_SET_DLG", 0x10901, Composite, MemoryReception},
    {"FAX_RX_OPE_NUM_OF_RINGS", "FAX_RX_SET_DLG", 0x10902, Number, None},
    {"FAX_RX_OPE_REDUCTION_RX", "FAX_RX_SET_DLG", 0x10903, Number, None},
    {"FAX_RX_OPE_RX_PRINT", "FAX_RX_SET_DLG", 0x10904, Number, None},
    {"FAX_RX_OPE_RX_MODE", "FAX_RX_SET_DLG", 0x10905, Number, None},
    {"buffer length", "FAX_RX_SET_DLG", 0x10906, Composite, Forwarding},
    {"FAX_RX_OPE_FORWARD", "FAX_RX_SET_DLG", 0x10907, Number, None},
    {"FAX_RX_OPE_FOOTER", "FAX_RX_SET_DLG", 0x10908, Number, None},
    {"FAX_RX_OPE_SELECT_TRAY_TRAY1", "FAX_RX_SET_DLG", 0x10909, Number, None},
    {"FAX_RX_OPE_SELECT_TRAY_TRAY2", "FAX_RX_SET_DLG", 0x1090A, Number, None},
    {"FAX_RX_OPE_SELECT_TRAY_TRAY3", "FAX_RX_SET_DLG", 0x1090B, Number, None},
    {"FAX_RX_OPE_CALL_TRANSFER", "FAX_RX_SET_DLG", 0x1090C, Number, None},
    {"FAX_RX_OPE_CALL_TRANSFER_NUM", "FAX_RX_SET_DLG", 0x1090D, Number, None},
    {"FAX_RX_OPE_SELECT_TRAY", "FAX_RX_SET_DLG", 0x1090E, Number, None},
    {"REPORTING_ACTIVITY_REPORT", "REPORT_SET_DLG", 0x10A00, Number, None},
    {"REPORTING_TX_RESULT_REPORT", "REPORT_SET_DLG", 0x10A01, Number, None},
    {"REPORTING_RX_RESULT_REPORT", "REPORT_SET_DLG", 0x10A02, Number, None},
    {"SCANNER_RESOLUTION", "SCAN_SET_DLG", 0x10B00, Number, None},
    {"SCANNER_IMAGE_FORMAT", "SCAN_SET_DLG", 0x10B01, Number, None},
    {"SCANNER_CODING_METHOD", "SCAN_SET_DLG", 0x10B02, Number, None},
    {"SCANNER_FILE_SIZE", "SCAN_SET_DLG", 0x10B03, Number, None},
    {"SCANNER_QUALITY_PRIORITY", "SCAN_SET_DLG", 0x10B04, Number, None},
    {"SCANNER_DENSITY_LEVEL", "SCAN_SET_DLG", 0x10B05, Number, None},
    {"SCANNER_FILE_SIZE_SPLIT", "SCAN_SET_DLG", 0x10B06, Number, None},
    {"CAMERA_IMAGE_QUALITY", "CAMERA_DIRECT_PRINT_DLG", 0x10C00, Number, None},
    {"CAMERA_TRAY1_MEDIA_TYPE", "CAMERA_DIRECT_PRINT_DLG", 0x10C01, Number, None},
    {"CAMERA_TRAY1_PAPER_SIZE", "CAMERA_DIRECT_PRINT_DLG", 0x10C02, Number, None},
    {"CAMERA_TRAY2_PAPER_SIZE", "CAMERA_DIRECT_PRINT_DLG", 0x10C05, Number, None},
    {"CAMERA_N_UP_LAYOUT", "CAMERA_DIRECT_PRINT_DLG", 0x10C0B, Number, None},
};

static_assert(std::size(kItemTable) == kItemTableRows);

} // namespace

std::span<const CItemRow> ItemTable()
{
    return kItemTable;
}

const CItemRow* FindItemRow(std::uint32_t parameterId)
{
    // Every id of the table but the operation block's lies in the settings range; the first row of
    // an id is kept per id, so a lookup costs no walk over the table.
    constexpr std::uint32_t kFirst = 0x10000;
    constexpr std::uint32_t kLast = 0x11FFF;
    static const auto rowOfId = [] {
        std::array<std::int16_t, kLast - kFirst + 1> rows;
        rows.fill(-1);
        for (std::size_t index = std::size(kItemTable); index-- > 0;) {
            const std::uint32_t id = kItemTable[index].parameterId;
            if (id >= kFirst && id <= kLast) {
                rows[id - kFirst] = static_cast<std::int16_t>(index);
            }
        }
        return rows;
    }();
    if (parameterId >= kFirst && parameterId <= kLast) {
        const std::int16_t index = rowOfId[parameterId - kFirst];
        return index < 0 ? nullptr : &kItemTable[static_cast<std::size_t>(index)];
    }
    for (const CItemRow& row : kItemTable) {
        if (row.parameterId == parameterId) {
            return &row;
        }
    }
    return nullptr;
}

std::size_t ItemTextLimit(std::size_t rowIndex, std::size_t maxStoreBytes)
{
    const auto table = ItemTable();
    if (rowIndex >= table.size() || table[rowIndex].kind != Text) {
        return maxStoreBytes;
    }
    if (table[rowIndex].key == "SNMP_READ_COMMUNITY_NAME" || table[rowIndex].key == "SNMP_WRITE_COMMUNITY_NAME") {
        return kSnmpCommunitySize;
    }
    const bool lengthRow =
        rowIndex > 0 && table[rowIndex - 1].kind == Number && table[rowIndex - 1].key == kBufferLengthKey;
    return lengthRow ? 255 : maxStoreBytes;
}

} // namespace qzb
