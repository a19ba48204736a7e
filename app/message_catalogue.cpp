#include "app/message_catalogue.h"

namespace qzb {

namespace {

using enum CaptionKind;
using enum ButtonSet;

constexpr CMessageEntry kCatalogue[] = {
    {0x80010001, "STR_MSG_CONNECT_CUT", Standard, Ok},
    {0x80010002, "STR_MSG_CONNECTION_ERR", Standard, Ok},
    {0x80010003, "STR_MSG_MACHINE_OPERATING", Standard, Ok},
    {0x80010004, "STR_MSG_TIME_OUT", Standard, Ok},
    {0x80010005, "STR_MSG_MACHINE_PROBLEM", Standard, Ok},
    {0x80010006, "STR_MSG_CONNECT_USB", Standard, Ok},
    {0x80020001, "STR_MSG_LIST_NOT_SELECTED_ERR", Standard, Ok},
    {0x80020002, "STR_MSG_NO_DATA_LIST", Standard, Ok},
    {0x80020003, "STR_MSG_GROUP_NAME_ERR", Standard, Ok},
    {0x80020010, "STR_MSG_E_MAIL_ADDRESS_ERR", Standard, Ok},
    {0x80020011, "STR_MSG_FTP_SERVER_ADDRESS_ERR", Standard, Ok},
    {0x80020012, "STR_MSG_SMB_ADDRESS_ERR", Standard, Ok},
    {0x80020013, "STR_MSG_E_MAIL_ADDRESS_LEAST_ONE_ERR", Standard, Ok},
    {0x80020014, "STR_MSG_SMB_USERNAME_INVALID_ERR", Standard, Ok},
    {0x80020015, "STR_MSG_SMB_PASSWORD_INVALID_ERR", Standard, Ok},
    {0x80020016, "STR_MSG_SD_RETYPE_PASSWORD_ERR", Standard, Ok},
    {0x80020017, "STR_MSG_GROUP_OVER_50_ERR", Standard, Ok},
    {0x80020018, "STR_MSG_NUMBER_ERR", Standard, Ok},
    {0x80020019, "STR_MSG_GROUP_NOT_ADD_ERR", Standard, Ok},
    {0x8002001A, "STR_MSG_GROUP_E_MAIL_REGIST_ERR", Standard, Ok},
    {0x8002001B, "STR_MSG_GROUP_FAX_REGIST_ERR", Standard, Ok},
    {0x80020030, "STR_MSG_OPEN_FILE_ERROR", Standard, Ok},
    {0x80020031, "STR_MSG_WRITE_FILE_ERROR", Standard, Ok},
    {0x80020032, "STR_MSG_READ_FILE_ERROR", Standard, Ok},
    {0x80020033, "STR_MSG_INVALID_FORMAT_FILE_ERR", Standard, Ok},
    {0x80020040, "STR_MSG_SM_PASSWORD_ERR", Serviceman, Ok},
    {0x80020041, "STR_MSG_CURRENT_PASSWORD_ERR", Serviceman, Ok},
    {0x80020042, "STR_MSG_NEW_PASSWORD_ERR", Serviceman, Ok},
    {0x80020043, "STR_MSG_RETYPE_PASSWORD_ERR", Serviceman, Ok},
    {0x80020044, "STR_MSG_SERVICEMAN_OPEN_FILE_ERROR", Serviceman, Ok},
    {0x80020045, "STR_MSG_INVALID_FORMAT_OPEN_FILE_ERR", Serviceman, Ok},
    {0x80020046, "STR_MSG_INVALID_PTT_UPLOAD_ERR", Serviceman, Ok},
    {0x80020047, "STR_MSG_SM_PASSWORD_SAVE_ERR", Serviceman, Ok},
    {0x80020103, "STR_MSG_MEMORY_RX_TIME_EDT_ERR", Serviceman, Ok},
    {0x80020104, "STR_MSG_MEMORY_RX_PASSWORD_ERR", Serviceman, Ok},
    {0x80020105, "STR_MSG_IP_ADDRESS_INVALID_ERR", Serviceman, Ok},
    {0x80020106, "STR_MSG_GATEWAY_INVALID_ERR", Serviceman, Ok},
    {0x80020107, "STR_MSG_HOST_NAME_INVALID_ERR", Serviceman, Ok},
    {0x80020108, "STR_MSG_DOMAIN_NAME_INVALID_ERR", Serviceman, Ok},
    {0x80020109, "STR_MSG_DNS_SERVER_INVALID_ERR", Serviceman, Ok},
    {0x80020110, "STR_MSG_BONJOUR_NAME_INVALID_ERR", Serviceman, Ok},
    {0x80020111, "STR_MSG_LDAP_SERVER_NAME_INVALID_ERR", Serviceman, Ok},
    {0x80020112, "STR_MSG_PROXY_SERVER_INVALID_ERR", Serviceman, Ok},
    {0x80020113, "STR_MSG_FORWARD_PHONE_INVALID_ERR", Serviceman, Ok},
    {0x80020114, "STR_MSG_MACHINE_E_MAIL_ADDRESS_ERR", Serviceman, Ok},
    {0x80020115, "STR_MSG_SEND_USER_NAME_INVALID_ERR", Serviceman, Ok},
    {0x80020116, "STR_MSG_DEF_SUB_INVALID_ERR", Serviceman, Ok},
    {0x80020117, "STR_MSG_SMTP_SERVER_ADD_INVALID_ERR", Serviceman, Ok},
    {0x80020118, "STR_MSG_POP3_SERVER_ADD_INVALID_ERR", Serviceman, Ok},
    {0x80020119, "STR_MSG_POP3_ACCOUNT_INVALID_ERR", Serviceman, Ok},
    {0x80020120, "STR_MSG_POP3_PASSWORD_INVALID_ERR", Serviceman, Ok},
    {0x80020121, "STR_MSG_SMTP_USER_NAME_INVALID_ERR", Serviceman, Ok},
    {0x80020122, "STR_MSG_SMTP_PASSWORD_INVALID_ERR", Serviceman, Ok},
    {0x80020123, "STR_MSG_LDAP_ACCOUNT_INVALID_ERR", Serviceman, Ok},
    {0x80020124, "STR_MSG_LDAP_PASSWORD_INVALID_ERR", Serviceman, Ok},
    {0x80020125, "STR_MSG_SUBNETMASK_INVALID_ERR", Serviceman, Ok},
    {0x80020126, "STR_MSG_BATCHTIME_ERR", Standard, Ok},
    {0x80030001, "STR_MSG_USE_MACHINE_DATA", Standard, OkCancel},
    {0x80030002, "STR_MSG_USE_PC_DATA", Standard, OkCancel},
    {0x80030004, "STR_MSG_TERMINATION_SAVE", Serviceman, YesNoCancel},
    {0x80030005, "STR_MSG_TERMINATION_UPDATE", Standard, YesNoCancel},
    {0x80030006, "STR_MSG_USE_FILE_DATA", Standard, OkCancel},
    {0x80030007, "STR_MSG_INVALID_RANGE_VALUE", Serviceman, Ok},
    {0x80030008, "STR_MSG_INVALID_RANGE_VALUE_THIS_LANG", Standard, Ok},
    {0x80030009, "STR_MSG_NOT_REGIST_SPEED_GROUP_DIAL", Standard, Ok},
    {0x8003000A, "STR_MSG_FULL_REGIST_DIAL", Standard, Ok},
    {0x8003000B, "STR_MSG_OPEN_USE_FILE_DATA", Serviceman, OkCancel},
    {0x8003000C, "STR_MSG_PRINTING_START", Standard, Ok},
    {0x80040001, "STR_MSG_BACKUP_NOT_WRITTEN", Standard, Ok},
    {0x80040002, "STR_MSG_HELP_FILE_MISSING", Standard, Ok},
    {0x80040003, "STR_MSG_FILE_IN_USE", Standard, Ok},
    {0x80040010, "STR_MSG_VALUE_MISSING", Serviceman, Ok},
    {0x80040011, "STR_MSG_VALUE_OUT_OF_RANGE", Serviceman, Ok},
    {0x80040012, "STR_MSG_NEW_PASSWORD_TOO_SHORT", Serviceman, Ok},
    {0x80040013, "STR_MSG_RESTORE_DIRECTORY", Standard, OkCancel},
    {0x80040020, "STR_MSG_VCF_NOTHING_TO_EXPORT", Standard, Ok},
};

} // namespace

std::span<const CMessageEntry> MessageCatalogue()
{
    return kCatalogue;
}

const CMessageEntry* FindMessage(MessageCode code)
{
    for (const CMessageEntry& entry : kCatalogue) {
        if (entry.code == code) {
            return &entry;
        }
    }
    return nullptr;
}

} // namespace qzb
