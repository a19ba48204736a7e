// Initial contents of the value store: the 32 page lists in lookup order, each record with its
// initial number and text. Models 3120 and QP-RZ41 adjust a few of them through the model defaults.
#include "model/value_store_table.h"

namespace qzb {

namespace {

constexpr CInitialValue kMachineSetDlg[] = {
    {"MACHINE_ADMIN_NAME_EDT", "", 0},
    {"MACHINE_DEVICE_NAME_EDT", "", 0},
    {"MACHINE_DEVICE_PLACE_EDT", "", 0},
    {"Machine_Auto_panel_reset_OnOff", "", 1},
    {"Machine_Auto_panel_reset_Time", "", 1},
    {"Machine_Energy_save_mode_OnOff", "", 1},
    {"Machine_Energy_save_mode_time", "", 30},
    {"Machine_LCD_contrast", "", 1},
    {"Machine_Language", "", 0},
    {"MACHINE_LAMP_ONOFF", "", 0},
    {"MACHINE_LAMP_WARMUP", "", 0},
    {"Machine_Buzzer_Volume", "", 1},
    {"Machine_Initial_mode", "", 0},
    {"Machine_Toner_empty_stop", "", 0},
    {"Machine_Toner_near_empty", "", 1},
    {"Machine_Auto_continue", "", 0},
    {"Machine_Calibration", "", 0},
    {"Machine_Toner_caribration", "", 0},
    {"MACHINE_TIME_TO_START", "", 3},
    {"MACHINE_INTERVAL", "", 0},
    {"MACHINE_PRE_HEAT_MODE", "", 15},
    {"Machine_Duplex_speed", "", 0},
};

constexpr CInitialValue kSdPassDlg[] = {
    {"SERVICE_MAN_PASSWORD", "qorlex", 0},
};

constexpr CInitialValue kSelectPrintItemDlg[] = {
    {"PRINT_ADDRESS_BOOK", "", 0},
    {"PRINT_ADDRESS_BOOK_LIST_MODE", "", 0},
    {"PRINT_ADDRESS_BOOK_SELECT_NO", "", 0},
    {"PRINT_SPEED_DIAL", "", 0},
    {"PRINT_SPEED_DIAL_LIST_MODE", "", 0},
    {"PRINT_SPEED_DIAL_SELECT_NO", "", 0},
    {"PRINT_GROUP_DIAL", "", 0},
    {"PRINT_GROUP_DIAL_LIST_MODE", "", 0},
    {"PRINT_GROUP_DIAL_SELECT_NO", "", 0},
};

constexpr CInitialValue kAdminstratorNoDlg[] = {
    {"ADMINSTRATOR_NO", "", 0},
};

constexpr CInitialValue kRemoteMonitorDlg[] = {
    {"ADMIN_S_REM_MONITOR_STATUS", "", 0},
};

constexpr CInitialValue kPaperSetDlg[] = {
    {"PAPER_TRAY1_MEDIA_TYPE", "", 0},
    {"PAPER_TRAY1_PAPER_SIZE", "", 2},
    {"PAPER_TRAY2_PAPER_SIZE", "", 2},
    {"PAPER_TRAY3_PAPER_SIZE", "", 2},
};

constexpr CInitialValue kCustomPaperSizeDlg[] = {
    {"PAPER_TRAY1_CUSTOM_X", "", 0},
    {"PAPER_TRAY1_CUSTOM_Y", "", 0},
    {"PAPER_TRAY2_CUSTOM_X", "", 0},
    {"PAPER_TRAY2_CUSTOM_Y", "", 0},
};

constexpr CInitialValue kMemoryDirectDlg[] = {
    {"LDAP_MEMORY_DIRECT", "", 1},
};

constexpr CInitialValue kCameraDirectDlg[] = {
    {"LDAP_CAMERA_DIRECT", "", 1},
};

constexpr CInitialValue kUsbSetDlg[] = {
    {"USB_SET", "", 0},
};

constexpr CInitialValue kAutoRedialDlg[] = {
    {"AUTO_REDIAL_NUMBER_OF_TIME", "", 5},
    {"AUTO_REDIAL_WAIT_TIME", "", 3},
};

constexpr CInitialValue kTcpIpSetDlg[] = {
    {"NETWORK", "", 1},
    {"NETWORK_IP", "", 0},
    {"NETWORK_IP_ADD_1", "", 0},
    {"NETWORK_IP_ADD_2", "", 0},
    {"NETWORK_IP_ADD_3", "", 0},
    {"NETWORK_IP_ADD_4", "", 0},
    {"NETWORK_SUB_MASK_1", "", 0},
    {"NETWORK_SUB_MASK_2", "", 0},
    {"NETWORK_SUB_MASK_3", "", 0},
    {"NETWORK_SUB_MASK_4", "", 0},
    {"NETWORK_GATEWAY_1", "", 0},
    {"NETWORK_GATEWAY_2", "", 0},
    {"NETWORK_GATEWAY_3", "", 0},
    {"NETWORK_GATEWAY_4", "", 0},
    {"NETWORK_DNS_CONFIG", "", 0},
    {"NETWORK_DHCP", "", 1},
    {"NETWORK_BOOTP", "", 0},
    {"NETWORK_ARP_PING", "", 0},
    {"NETWORK_HTTP", "", 1},
    {"NETWORK_FTP", "", 1},
    {"NETWORK_SMB", "", 1},
    {"NETWORK_TELNET", "", 0},
    {"NETWORK_BONJOUR", "", 1},
    {"NETWORK_DYNAMIC_DNS", "", 1},
    {"NETWORK_LDP", "", 1},
    {"NETWORK_IPP", "", 1},
    {"NETWORK_RAWPORT", "", 1},
    {"NETWORK_SLP", "", 1},
    {"NETWORK_SMTP", "", 0},
    {"NETWORK_SNMP", "", 1},
    {"NETWORK_WSD_PRINT", "", 1},
    {"NETWORK_IPSEC", "", 1},
    {"NETWORK_IP_ADDRESS_FILTER", "", 1},
    {"NETWORK_IPV6", "", 1},
    {"NETWORK_NETWARE", "", 1},
    {"NETWORK_APPLETALK", "", 1},
    {"NETWORK_SPEED_DUPLEX", "", 0},
    {"NETWORK_IEEE802_1X", "", 1},
};

constexpr CInitialValue kDnsConfDlg[] = {
    {"DNS_HOST_NAME", "ZW8120-xxxxxx", 0},
    {"DNS_DOMAIN_NAME", "", 0},
    {"DNS_CONFIG_AUTO_ACQUETION", "", 1},
    {"DNS_IP_ADDR1_1", "", 0},
    {"DNS_IP_ADDR1_2", "", 0},
    {"DNS_IP_ADDR1_3", "", 0},
    {"DNS_IP_ADDR1_4", "", 0},
    {"DNS_IP_ADDR2_1", "", 0},
    {"DNS_IP_ADDR2_2", "", 0},
    {"DNS_IP_ADDR2_3", "", 0},
    {"DNS_IP_ADDR2_4", "", 0},
    {"DNS_IP_ADDR3_1", "", 0},
    {"DNS_IP_ADDR3_2", "", 0},
    {"DNS_IP_ADDR3_3", "", 0},
    {"DNS_IP_ADDR3_4", "", 0},
};

constexpr CInitialValue kFtpSetDlg[] = {
    {"PROXY_SERVER", "0.0.0.0", 0},
    {"FTP_PROXY_PORT_NUMBER", "", 21},
    {"FTP_CONNECTION_TIMEOUT", "", 60},
};

constexpr CInitialValue kSmbSetDlg[] = {
    {"SMB_USER_AUTHENTICATION", "", 1},
};

constexpr CInitialValue kBonjourSetDlg[] = {
    {"BONJOUR_NAME", "MERIDAN TOVELL lumatrace 8120 (xx:xx:xx)", 0},
    {"BONJOUR_PRIORITY_PROTOCOL", "", 0},
};

constexpr CInitialValue kIppSetDlg[] = {
    {"IPP_PRINTER_NAME", "MERIDAN TOVELL lumatrace 8120 (xx:xx:xx)", 0},
    {"IPP_PRINTER_LOCATION", "", 0},
    {"IPP_PRINTER_INFORMATION", "", 0},
    {"IPP_PRINTER_MORE_PRINTER_INFO", "", 0},
    {"IPP_PRINTER_DRIVER_INSTALLER", "", 0},
    {"IPP_PRINTER_MAKE_AND_MODEL", "", 0},
    {"IPP_MORE_PRINTER_INFO_MANUFACTURE", "", 0},
    {"IPP_PRINT_JOB", "", 1},
    {"IPP_CANCEL_JOB", "", 1},
    {"IPP_GET_JOB", "", 1},
    {"IPP_VALIDATE_JOB", "", 1},
    {"IPP_GET_JOB_ATTRIBUTES", "", 1},
    {"IPP_GET_PRINTER_ATTRIBUTES", "", 1},
    {"IPP_TEXT_PLAIN", "", 1},
    {"IPP_APP_VND_HP_PCL", "", 1},
    {"IPP_APP_OCTET_STREAM", "", 1},
    {"IPP_DOCUMENT_FORMAT", "", 1},
    {"IPP_MESSAGE_FROM_OPERATOR", "", 0},
    {"IPP_JOB_K_OCTETS_SUPPORTED", "", 4294967},
    {"IPP_PRINTER", "", 1},
    {"IPP_ACCEPT_IPP_JOB", "", 1},
    {"IPP_PRINTER_URI", "", 0},
    {"IPP_AUTHENTICATION", "", 1},
    {"IPP_USER_NAME", "user", 0},
    {"IPP_PASSWORD", "vlem", 0},
    {"IPP_REALM", "IPP", 0},
};

constexpr CInitialValue kRawPortSetDlg[] = {
    {"IPP_RAW_PORT_NO", "", 9100},
    {"IPP_RAW_PORT_BIDIRECTION", "", 0},
};

constexpr CInitialValue kSnmpSetDlg[] = {
    {"SNMP_UDP_PORT", "", 161},
    {"SNMP_WRITE", "", 1},
    {"SNMP_READ_COMMUNITY_NAME", "mesnor", 0},
    {"SNMP_WRITE_COMMUNITY_NAME", "taphlek", 0},
    {"SNMP", "", 1},
    {"SNMP_V1_V2", "", 1},
    {"SNMP_V3", "", 1},
    {"SNMP_V1", "", 1},
    {"SNMP_CONTEXT_NAME", "", 0},
    {"SNMP_DISCOVERY", "", 1},
    {"SNMP_DISCOVERY_USER_NAME", "mesnor", 0},
    {"SNMP_READ_USER_NAME", "initial", 0},
    {"SNMP_READ_SECU LEVEL", "", 2},
    {"SNMP_READ_AUTH_PASSWORD", "", 0},
    {"SNMP_READ_PRIV_PASSWORD", "", 0},
    {"SNMP_WRITE_USER_NAME", "restrict", 0},
    {"SNMP_WRITE_SECURITY_LEVEL", "", 2},
    {"SNMP_WRITE_AUTH_PASSWORD", "", 0},
    {"SNMP_WRITE_PRIV_PASSWORD", "", 0},
    {"SNMP_ALLOW_SET", "", 0},
    {"SNMP_TRAP_SET_AUTH_FAILS", "", 0},
};

constexpr CInitialValue kAddFilterDlg[] = {
    {"ADDRESS_FILTER_ACCESS_PERMISSION", "", 0},
    {"ADDRESS_FILTER_ACCESS_REFUSE", "", 0},
};

constexpr CInitialValue kIpv6Dlg[] = {
    {"IPV6", "", 0},
    {"IPV6_AUTO_SET", "", 0},
    {"IPV6_LINK_LOCAL_1", "", 0},
    {"IPV6_LINK_LOCAL_2", "", 0},
    {"IPV6_LINK_LOCAL_3", "", 0},
    {"IPV6_LINK_LOCAL_4", "", 0},
    {"IPV6_GLOBAL_ADDRESS_1", "", 0},
    {"IPV6_GLOBAL_ADDRESS_2", "", 0},
    {"IPV6_GLOBAL_ADDRESS_3", "", 0},
    {"IPV6_GLOBAL_ADDRESS_4", "", 0},
    {"IPV6_GATEWAY_ADDRESS_1", "", 0},
    {"IPV6_GATEWAY_ADDRESS_2", "", 0},
    {"IPV6_GATEWAY_ADDRESS_3", "", 0},
    {"IPV6_GATEWAY_ADDRESS_4", "", 0},
};

constexpr CInitialValue kEmailSetDlg[] = {
    {"EMAIL_ENABLE", "", 1},
    {"EMAIL_SCAN_SENDING", "", 0},
    {"EMAIL_SENDER_NAME", "lumatrace_8120MF", 0},
    {"EMAIL_ADR", "", 0},
    {"EMAIL_SBJ", "from zw8120MF", 0},
    {"EMAIL_SMTP_NAME", "0.0.0.0", 0},
    {"EMAIL_SMTP_PORT_NO", "", 25},
    {"EMAIL_SMTP_TIMEOUT", "", 60},
    {"EMAIL_TEXT_INSERT", "", 0},
    {"EMAIL_COMM_MODE", "", 0},
    {"EMAIL_COMM_WAIT_TIME", "", 5},
    {"EMAIL_POP3_NAME_ADDR", "0.0.0.0", 0},
    {"EMAIL_POP3_ACCOUNT", "account", 0},
    {"EMAIL_POP3_PASS", "vlem", 0},
    {"EMAIL_POP3_PORT_NO", "", 110},
    {"EMAIL_POP3_TIMEOUT", "", 30},
    {"EMAIL_SMTP", "", 0},
    {"EMAIL_SMTP_USER_NAME", "", 0},
    {"EMAIL_SMTP_PW", "", 0},
};

constexpr CInitialValue kLdapSetDlg[] = {
    {"LDAP", "", 1},
    {"LDAP_SER_NAME", "0.0.0.0", 0},
    {"LDAP_SER_PORT_NO", "", 389},
    {"LDAP_SSL", "", 0},
    {"LDAP_SSL_PORT_NO", "", 636},
    {"LDAP_SEARCH_ROOT", "", 0},
    {"LDAP_ATTRIBUTE", "cn", 0},
    {"LDAP_TIMEOUT", "", 60},
    {"LDAP_SEARCH_MHD", "", 1},
    {"LDAP_MAX_SEARCH_TIME", "", 100},
    {"LDAP_AUTH", "", 0},
    {"LDAP_ACCOUNT", "", 0},
    {"LDAP_PASS", "", 0},
    {"LDAP_DOMAIN", "", 0},
};

constexpr CInitialValue kCommunicateSetDlg[] = {
    {"COMM_SET_TONE_PULSE", "", 0},
    {"COMM_SET_PULSE", "", 1},
    {"COMM_SET_LINE_MONITOR", "", 1},
    {"COMM_SET_PSTN_PBX", "", 0},
    {"COMM_SET_PSTN_PBX", "", 0},
    {"COMM_SET_TEL_FAXMODE", "", 0},
    {"COMM_SET_RBT_SIGNAL_TIME", "", 3},
    {"COMM_SET_ANSWER_MACHINE", "", 0},
};

constexpr CInitialValue kUserSetDlg[] = {
    {"USER_FAX_PTT_SET", "", 0},
    {"USER_TIME_HOUR", "", 1},
    {"USER_TIME_MINUTES", "", 1},
    {"USER_TIME_YEAR", "", 1},
    {"USER_TIME_MOUTH", "", 1},
    {"USER_TIME_DAY", "", 1},
    {"USER_TIME_ZOON", "", 0},
    {"USER_DATE_FORMAT_SET", "", 1},
    {"USER_PRESET_ZOOM_CHANGE", "", 0},
    {"USER_FAXNAME", "", 0},
    {"USER_NAME", "", 0},
};

constexpr CInitialValue kCopySetDlg[] = {
    {"COPY1_PAPER_PRIORITY", "", 1},
    {"COPY1_QUALITY_PRIORITY", "", 2},
    {"COPY1_DENSITY_PRIORITY", "", 0},
    {"COPY1_DENSITY_LEVEL_AUTO", "", 1},
    {"COPY1_DENSITY_LEVEL_MANUAL", "", 3},
    {"COPY1_OUTPUT_PRIORITY", "", 0},
    {"COPY1_4IN1_COPY_ORDER", "", 0},
    {"COPY1_DUPLEX_COPY", "", 0},
};

constexpr CInitialValue kFaxTxSetDlg[] = {
    {"FAX_TX_OPERATION_DENSITY_LEVEL", "", 1},
    {"FAX_TX_OPERATION_QUALITY_PRIORITY", "", 0},
    {"FAX_TX_OPE_DEFAULT_TX", "", 0},
    {"FAX_TX_OPE_HEADER", "", 0},
};

constexpr CInitialValue kFaxRxSetDlg[] = {
    {"FAX_RX_OPE_MEMORY_RX_MODE", "", 0},
    {"FAX_RX_OPE_MEMORY_RX_MODD_PASS", "", 0},
    {"FAX_RX_OPE_MEMORY_RX_MODD_ON_H_TIME", "", 0},
    {"FAX_RX_OPE_MEMORY_RX_MODD_ON_M_TIME", "", 0},
    {"FAX_RX_OPE_MEMORY_RX_MODD_OFF_H_TIME", "", 0},
    {"FAX_RX_OPE_MEMORY_RX_MODD_OFF_M_TIME", "", 0},
    {"FAX_RX_OPE_NUM_OF_RINGS", "", 1},
    {"FAX_RX_OPE_REDUCTION_RX", "", 0},
    {"FAX_RX_OPE_RX_PRINT", "", 1},
    {"FAX_RX_OPE_RX_MODE", "", 0},
    {"FAX_RX_OPE_FORWARD", "", 2},
    {"FAX_RX_OPE_FOOTER", "", 0},
    {"FAX_RX_OPE_SELECT_TRAY_TRAY1", "", 1},
    {"FAX_RX_OPE_SELECT_TRAY_TRAY2", "", 1},
    {"FAX_RX_OPE_SELECT_TRAY_TRAY3", "", 1},
    {"FAX_RX_OPE_SELECT_TRAY", "", 0},
    {"FAX_RX_OPE_CALL_TRANSFER", "", 0},
    {"FAX_RX_OPE_CALL_TRANSFER_NUM", "", 3},
    {"FAX_RX_OPE_CLOSED_NETWORK", "", 0},
};

constexpr CInitialValue kScanSetDlg[] = {
    {"SCANNER_RESOLUTION", "", 0},
    {"SCANNER_IMAGE_FORMAT", "", 1},
    {"SCANNER_CODING_METHOD", "", 0},
    {"SCANNER_FILE_SIZE_SPLIT", "", 0},
    {"SCANNER_FILE_SIZE", "", 10},
    {"SCANNER_QUALITY_PRIORITY", "", 2},
    {"SCANNER_DENSITY_LEVEL", "", 2},
};

constexpr CInitialValue kCameraDirectPrintDlg[] = {
    {"CAMERA_IMAGE_QUALITY", "", 0},
    {"CAMERA_TRAY_MODE", "", 0},
    {"CAMERA_TRAY1_MEDIA_TYPE", "", 0},
    {"CAMERA_N_UP_LAYOUT", "", 0},
    {"CAMERA_TRAY1_PAPER_SIZE", "", 36},
    {"CAMERA_TRAY2_PAPER_SIZE", "", 2},
};

constexpr CInitialValue kForwardLocationDlg[] = {
    {"FAX_RX_OPE_FAX_EMAIL_MODE", "", 0},
    {"FAX_RX_OPE_FAX_NUMBER", "", 0},
    {"FAX_RX_OPE_EMAIL_ADDRESS", "", 0},
};

constexpr CInitialValue kReportSetDlg[] = {
    {"REPORTING_ACTIVITY_REPORT", "", 1},
    {"REPORTING_TX_RESULT_REPORT", "", 1},
    {"REPORTING_RX_RESULT_REPORT", "", 1},
};

constexpr CInitialPage kInitialPages[] = {
    {"MACHINE_SET_DLG", kMachineSetDlg},
    {"SD_PASS_DLG", kSdPassDlg},
    {"SELECT_PRINT_ITEM_DLG", kSelectPrintItemDlg},
    {"ADMINSTRATOR_NO_DLG", kAdminstratorNoDlg},
    {"REMOTE_MONITOR_DLG", kRemoteMonitorDlg},
    {"PAPER_SET_DLG", kPaperSetDlg},
    {"CUSTOM_PAPER_SIZE_DLG", kCustomPaperSizeDlg},
    {"MEMORY_DIRECT_DLG", kMemoryDirectDlg},
    {"CAMERA_DIRECT_DLG", kCameraDirectDlg},
    {"USB_SET_DLG", kUsbSetDlg},
    {"AUTO_REDIAL_DLG", kAutoRedialDlg},
    {"TCP_IP_SET_DLG", kTcpIpSetDlg},
    {"DNS_CONF_DLG", kDnsConfDlg},
    {"FTP_SET_DLG", kFtpSetDlg},
    {"SMB_SET_DLG", kSmbSetDlg},
    {"BONJOUR_SET_DLG", kBonjourSetDlg},
    {"IPP_SET_DLG", kIppSetDlg},
    {"RAW_PORT_SET_DLG", kRawPortSetDlg},
    {"SNMP_SET_DLG", kSnmpSetDlg},
    {"ADD_FILTER_DLG", kAddFilterDlg},
    {"IPV6_DLG", kIpv6Dlg},
    {"EMAIL_SET_DLG", kEmailSetDlg},
    {"LDAP_SET_DLG", kLdapSetDlg},
    {"COMMUNICATE_SET_DLG", kCommunicateSetDlg},
    {"USER_SET_DLG", kUserSetDlg},
    {"COPY_SET_DLG", kCopySetDlg},
    {"FAX_TX_SET_DLG", kFaxTxSetDlg},
    {"FAX_RX_SET_DLG", kFaxRxSetDlg},
    {"SCAN_SET_DLG", kScanSetDlg},
    {"CAMERA_DIRECT_PRINT_DLG", kCameraDirectPrintDlg},
    {"FORWARD_LOCATION_DLG", kForwardLocationDlg},
    {"REPORT_SET_DLG", kReportSetDlg},
};

} // namespace

std::span<const CInitialPage> InitialValueStorePages()
{
    return kInitialPages;
}

} // namespace qzb
