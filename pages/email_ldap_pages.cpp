#include "pages/email_ldap_pages.h"

#include "model/input_chars.h"
#include "pages/common_checks.h"
#include "pages/control_rows.h"
#include "pages/page.h"

#include <string>

namespace qzb {

using namespace rows;

namespace {

constexpr std::int32_t kPortMinimum = 1;
constexpr std::int32_t kPortMaximum = 65535;

// The pages check their fields themselves, in their own order and only while the fields are live,
// so the engine's per-control checks stay off.
struct CFieldRow
{
    std::int32_t id = 0;
    std::string_view name = {};
    std::string_view item = {};
    std::int32_t limit = 0;
    std::int32_t row = -1;
};

constexpr CControlDef Text(const CFieldRow& r)
{
    return TextEdit({.id = r.id,
                     .name = r.name,
                     .item = r.item,
                     .inputKind = InputKind::EmailAddress,
                     .limit = r.limit,
                     .row = r.row,
                     .check = CheckRule::None});
}

constexpr CControlDef Password(const CFieldRow& r)
{
    return PasswordEdit({.id = r.id,
                         .name = r.name,
                         .item = r.item,
                         .inputKind = InputKind::PrintableAscii,
                         .limit = r.limit,
                         .row = r.row});
}

// A port number of up to five digits.
constexpr CControlDef Port(const CFieldRow& r)
{
    CControlDef control = PortEdit({.id = r.id,
                                    .name = r.name,
                                    .item = r.item,
                                    .limit = 5,
                                    .minimum = kPortMinimum,
                                    .maximum = kPortMaximum,
                                    .row = r.row});
    control.check = CheckRule::None;
    return control;
}

std::u16string Decimal(std::int32_t value)
{
    const std::string text = std::to_string(value);
    return std::u16string(text.begin(), text.end());
}

// One field check of a page's ordered validation.
enum class FieldRule : std::uint8_t { Text, Email, Port };

struct CFieldCheck
{
    std::int32_t id;
    InputKind kind;
    MessageCode code;
    FieldRule rule = FieldRule::Text;
    std::int32_t onlyWhileChecked = 0; // a check box that switches the field's group on; 0: always
};

bool IsValidPort(const CPage& page, std::int32_t id)
{
    const std::u16string& text = page.State(id).text;
    return IsInputTextValid(text, InputKind::Digits, *page.Env().store) && IsInRange(text, kPortMinimum, kPortMaximum);
}

CCheckResult RunFieldChecks(const CPage& page, std::span<const CFieldCheck> checks)
{
    for (const CFieldCheck& check : checks) {
        if (check.onlyWhileChecked != 0 && !page.IsChecked(check.onlyWhileChecked)) {
            continue;
        }
        const std::u16string& text = page.State(check.id).text;
        bool valid = IsInputTextValid(text, check.kind, *page.Env().store);
        if (check.rule == FieldRule::Email) {
            valid = valid && IsEmailAddress(text);
        } else if (check.rule == FieldRule::Port) {
            valid = IsValidPort(page, check.id);
        }
        if (!valid) {
            return {check.code, check.id};
        }
    }
    return {};
}

// A port is only checked while its group is live. One that fails the check when the group is off
// keeps the stored port: the device takes ports in 16 bits, so 0 or 99999 would arrive as some
// other port.
bool KeepsStoredPort(const CPage& page, const CControlDef& control)
{
    return control.kind == ControlKind::Edit && control.binding == Binding::Number && !IsValidPort(page, control.id);
}

// ---- E-mail -----------------------------------------------------------------------------------

constexpr std::int32_t kSenderName = 1365;
constexpr std::int32_t kEmailAddress = 1367;
constexpr std::int32_t kSubject = 1369;
constexpr std::int32_t kSmtpServer = 1371;
constexpr std::int32_t kSmtpPort = 1373;
constexpr std::int32_t kPop3Server = 1382;
constexpr std::int32_t kPop3Account = 1387;
constexpr std::int32_t kPop3Password = 1389;
constexpr std::int32_t kPop3Port = 1391;
constexpr std::int32_t kEmailEnable = 1361;
constexpr std::int32_t kEmailFirst = 1363;
constexpr std::int32_t kEmailLast = 1401;
constexpr std::int32_t kSmtpTimeout = 1376;
constexpr std::int32_t kSmtpTimeoutValue = 1377;
constexpr std::int32_t kPopBeforeSmtp = 1380;
constexpr std::int32_t kPop3First = 1381;
constexpr std::int32_t kWaitTime = 1384;
constexpr std::int32_t kWaitTimeValue = 1385;
constexpr std::int32_t kPop3Timeout = 1394;
constexpr std::int32_t kPop3TimeoutValue = 1395;
constexpr std::int32_t kSmtpAuth = 1397;
constexpr std::int32_t kAuthFirst = 1398;

constexpr CControlDef kEmailControls[] = {
    Label({.id = 1360, .name = "emailLabel", .textKey = "STR_AM_ES_TXT_E_MAIL", .row = 0}),
    RadioButton({.id = kEmailEnable,
                 .name = "emailEnableRadio",
                 .textKey = "STR_AM_ES_RDO_ENABLE",
                 .item = "EMAIL_ENABLE",
                 .group = 1,
                 .radioValue = 1,
                 .fallback = true,
                 .row = 0,
                 .column = 1}),
    RadioButton({.id = 1362,
                 .name = "emailDisableRadio",
                 .textKey = "STR_AM_ES_RDO_DISABLE",
                 .item = "EMAIL_ENABLE",
                 .group = 1,
                 .radioValue = 0,
                 .row = 0,
                 .column = 2}),
    CheckBox({.id = kEmailFirst,
              .name = "scanSendingCheck",
              .textKey = "STR_AM_ES_CHK_SCAN_SENDING",
              .item = "EMAIL_SCAN_SENDING",
              .row = 1}),
    Label({.id = 1364, .name = "senderNameLabel", .textKey = "STR_AM_ES_TXT_SENDER_NAME", .row = 2}),
    Text({.id = kSenderName, .name = "senderNameEdit", .item = "EMAIL_SENDER_NAME", .limit = 20, .row = 2}),
    Label({.id = 1366, .name = "emailAddressLabel", .textKey = "STR_AM_ES_TXT_E_MAIL_ADDRESS", .row = 3}),
    Text({.id = kEmailAddress, .name = "emailAddressEdit", .item = "EMAIL_ADR", .limit = 64, .row = 3}),
    Label({.id = 1368, .name = "subjectLabel", .textKey = "STR_AM_ES_TXT_SUBJECT", .row = 4}),
    Text({.id = kSubject, .name = "subjectEdit", .item = "EMAIL_SBJ", .limit = 20, .row = 4}),
    Label({.id = 1370, .name = "smtpServerLabel", .textKey = "STR_AM_ES_TXT_SMTP_SERVER", .row = 5}),
    Text({.id = kSmtpServer, .name = "smtpServerEdit", .item = "EMAIL_SMTP_NAME", .limit = 64, .row = 5}),
    Label({.id = 1372, .name = "smtpPortLabel", .textKey = "STR_AM_ES_TXT_SMTP_PORT", .row = 6}),
    Port({.id = kSmtpPort, .name = "smtpPortEdit", .item = "EMAIL_SMTP_PORT_NO", .row = 6}),
    Label({.id = 1375, .name = "smtpTimeoutLabel", .textKey = "STR_AM_ES_TXT_SMTP_TIMEOUT", .row = 7}),
    Slider({.id = kSmtpTimeout,
            .name = "smtpTimeoutSlider",
            .item = "EMAIL_SMTP_TIMEOUT",
            .minimum = 30,
            .maximum = 300,
            .row = 7}),
    ValueLabel({.id = kSmtpTimeoutValue, .name = "smtpTimeoutValue", .row = 7}),
    CheckBox({.id = 1378,
              .name = "textInsertCheck",
              .textKey = "STR_AM_ES_CHK_TEXT_INSERT",
              .item = "EMAIL_TEXT_INSERT",
              .row = 8}),
    CheckBox({.id = kPopBeforeSmtp,
              .name = "popBeforeSmtpCheck",
              .textKey = "STR_AM_ES_CHK_POP_BEFORE_SMTP",
              .item = "EMAIL_COMM_MODE",
              .row = 9}),
    Label({.id = kPop3First, .name = "pop3ServerLabel", .textKey = "STR_AM_ES_TXT_POP3_SERVER", .row = 10}),
    Text({.id = kPop3Server, .name = "pop3ServerEdit", .item = "EMAIL_POP3_NAME_ADDR", .limit = 64, .row = 10}),
    Label({.id = 1383, .name = "waitTimeLabel", .textKey = "STR_AM_ES_TXT_WAIT_TIME", .row = 11}),
    Slider({.id = kWaitTime,
            .name = "waitTimeSlider",
            .item = "EMAIL_COMM_WAIT_TIME",
            .minimum = 0,
            .maximum = 60,
            .row = 11}),
    ValueLabel({.id = kWaitTimeValue, .name = "waitTimeValue", .row = 11}),
    Label({.id = 1386, .name = "pop3AccountLabel", .textKey = "STR_AM_ES_TXT_POP3_ACCOUNT", .row = 12}),
    Text({.id = kPop3Account, .name = "pop3AccountEdit", .item = "EMAIL_POP3_ACCOUNT", .limit = 63, .row = 12}),
    Label({.id = 1388, .name = "pop3PasswordLabel", .textKey = "STR_AM_ES_TXT_POP3_PASSWORD", .row = 13}),
    Password({.id = kPop3Password, .name = "pop3PasswordEdit", .item = "EMAIL_POP3_PASS", .limit = 15, .row = 13}),
    Label({.id = 1390, .name = "pop3PortLabel", .textKey = "STR_AM_ES_TXT_POP3_PORT", .row = 14}),
    Port({.id = kPop3Port, .name = "pop3PortEdit", .item = "EMAIL_POP3_PORT_NO", .row = 14}),
    Label({.id = 1393, .name = "pop3TimeoutLabel", .textKey = "STR_AM_ES_TXT_POP3_TIMEOUT", .row = 15}),
    Slider({.id = kPop3Timeout,
            .name = "pop3TimeoutSlider",
            .item = "EMAIL_POP3_TIMEOUT",
            .minimum = 30,
            .maximum = 300,
            .row = 15}),
    ValueLabel({.id = kPop3TimeoutValue, .name = "pop3TimeoutValue", .row = 15}),
    CheckBox({.id = kSmtpAuth,
              .name = "smtpAuthCheck",
              .textKey = "STR_AM_ES_CHK_SMTP_AUTH",
              .item = "EMAIL_SMTP",
              .row = 16}),
    Label({.id = 1399, .name = "smtpUserNameLabel", .textKey = "STR_AM_ES_TXT_SMTP_USER_NAME", .row = 17}),
    Text({.id = kAuthFirst, .name = "smtpUserNameEdit", .item = "EMAIL_SMTP_USER_NAME", .limit = 63, .row = 17}),
    Label({.id = 1400, .name = "smtpPasswordLabel", .textKey = "STR_AM_ES_TXT_SMTP_PASSWORD", .row = 18}),
    Password({.id = kEmailLast, .name = "smtpPasswordEdit", .item = "EMAIL_SMTP_PW", .limit = 15, .row = 18}),
};

constexpr CFieldCheck kEmailChecks[] = {
    {.id = kSenderName, .kind = InputKind::EmailAddress, .code = kMsgInvalidRangeValue},
    {.id = kEmailAddress,
     .kind = InputKind::EmailAddress,
     .code = kMsgMachineEmailAddressErr,
     .rule = FieldRule::Email},
    {.id = kSubject, .kind = InputKind::EmailAddress, .code = kMsgInvalidRangeValue},
    {.id = kSmtpServer, .kind = InputKind::EmailAddress, .code = kMsgSmtpServerAddInvalidErr},
    {.id = kSmtpPort, .kind = InputKind::Digits, .code = kMsgInvalidRangeValue, .rule = FieldRule::Port},
    {.id = kPop3Server,
     .kind = InputKind::EmailAddress,
     .code = kMsgPop3ServerAddInvalidErr,
     .onlyWhileChecked = kPopBeforeSmtp},
    {.id = kPop3Account,
     .kind = InputKind::EmailAddress,
     .code = kMsgPop3AccountInvalidErr,
     .onlyWhileChecked = kPopBeforeSmtp},
    {.id = kPop3Password,
     .kind = InputKind::PrintableAscii,
     .code = kMsgPop3PasswordInvalidErr,
     .onlyWhileChecked = kPopBeforeSmtp},
    {.id = kPop3Port,
     .kind = InputKind::Digits,
     .code = kMsgInvalidRangeValue,
     .rule = FieldRule::Port,
     .onlyWhileChecked = kPopBeforeSmtp},
    {.id = kAuthFirst,
     .kind = InputKind::EmailAddress,
     .code = kMsgSmtpUserNameInvalidErr,
     .onlyWhileChecked = kSmtpAuth},
    {.id = kEmailLast,
     .kind = InputKind::PrintableAscii,
     .code = kMsgSmtpPasswordInvalidErr,
     .onlyWhileChecked = kSmtpAuth},
};

void UpdateEmail(CPage& page)
{
    const bool enabled = page.IsChecked(kEmailEnable);
    const bool pop3 = page.IsChecked(kPopBeforeSmtp);
    const bool auth = page.IsChecked(kSmtpAuth);
    for (const CControlDef& control : page.Controls()) {
        if (control.id < kEmailFirst || control.id > kEmailLast) {
            continue;
        }
        const bool inPop3 = control.id >= kPop3First && control.id <= kPop3TimeoutValue;
        const bool inAuth = control.id >= kAuthFirst;
        page.SetEnabled(control.id, enabled && (!inPop3 || pop3) && (!inAuth || auth));
    }
    page.SetCaption(kSmtpTimeoutValue, Decimal(page.State(kSmtpTimeout).value));
    page.SetCaption(kWaitTimeValue, Decimal(page.State(kWaitTime).value));
    page.SetCaption(kPop3TimeoutValue, Decimal(page.State(kPop3Timeout).value));
}

void EmailChanged(CPage& page, std::int32_t)
{
    UpdateEmail(page);
}

// With Disable checked nothing is checked: the device sends no mail, so its settings may stay
// half filled in.
CCheckResult CheckEmail(const CPage& page)
{
    return page.IsChecked(kEmailEnable) ? RunFieldChecks(page, kEmailChecks) : CCheckResult{};
}

constexpr CPageRules kEmailRules{
    .afterLoad = UpdateEmail, .onChange = EmailChanged, .check = CheckEmail, .keepsStored = KeepsStoredPort};

constexpr CPageDef kEmailPage{.name = "EMAIL_SET_DLG",
                              .className = "CEmailSetDlg",
                              .typeCode = 0x02000040,
                              .titleKey = "STR_TREE_AM_E_MAIL_SETTING",
                              .ratioKey = "STR_RATIO_TREE_AM_E_MAIL_SETTING",
                              .controls = kEmailControls,
                              .rules = &kEmailRules};

// ---- LDAP -------------------------------------------------------------------------------------

constexpr std::int32_t kLdapServer = 1254;
constexpr std::int32_t kLdapPort = 1256;
constexpr std::int32_t kSslPort = 1259;
constexpr std::int32_t kSearchRoot = 1262;
constexpr std::int32_t kAttribute = 1264;
constexpr std::int32_t kLdapAccount = 1274;
constexpr std::int32_t kLdapPassword = 1276;
constexpr std::int32_t kLdapDomain = 1278;
constexpr std::int32_t kLdapEnable = 1251;
constexpr std::int32_t kLdapDisable = 1252;
constexpr std::int32_t kSslPortFirst = 1258;
constexpr std::int32_t kSslPortLast = 1260;
constexpr std::int32_t kLdapTimeout = 1268;
constexpr std::int32_t kLdapTimeoutValue = 1269;
constexpr std::int32_t kMaxResults = 1271;
constexpr std::int32_t kMaxResultsValue = 1272;
constexpr std::int32_t kSslEnable = 1280;

constexpr CChoiceDef kSearchMethods[] = {
    {"STR_AM_LS_CMB_SEARCH_METHOD_BEGIN", 0},
    {"STR_AM_LS_CMB_SEARCH_METHOD_CONTAIN", 1},
    {"STR_AM_LS_CMB_SEARCH_METHOD_END", 2},
};

constexpr CControlDef kLdapControls[] = {
    Label({.id = 1250, .name = "ldapLabel", .textKey = "STR_AM_LS_TXT_LDAP", .row = 0}),
    RadioButton({.id = kLdapEnable,
                 .name = "ldapEnableRadio",
                 .textKey = "STR_AM_LS_RDO_ENABLE",
                 .item = "LDAP",
                 .group = 1,
                 .radioValue = 1,
                 .fallback = true,
                 .row = 0,
                 .column = 1}),
    RadioButton({.id = kLdapDisable,
                 .name = "ldapDisableRadio",
                 .textKey = "STR_AM_LS_RDO_DISABLE",
                 .item = "LDAP",
                 .group = 1,
                 .radioValue = 0,
                 .row = 0,
                 .column = 2}),
    Label({.id = 1253, .name = "ldapServerLabel", .textKey = "STR_AM_LS_TXT_SERVER_NAME", .row = 1}),
    Text({.id = kLdapServer, .name = "ldapServerEdit", .item = "LDAP_SER_NAME", .limit = 0, .row = 1}),
    Label({.id = 1255, .name = "ldapPortLabel", .textKey = "STR_AM_LS_TXT_PORT", .row = 2}),
    Port({.id = kLdapPort, .name = "ldapPortEdit", .item = "LDAP_SER_PORT_NO", .row = 2}),
    {.id = 1257, .name = "ldapPortRangeLabel", .textKey = "STR_AM_LS_TXT_PORT_RANGE", .row = 2, .column = 2},
    Label({.id = kSslPortFirst, .name = "sslPortLabel", .textKey = "STR_AM_LS_TXT_SSL_PORT", .row = 3}),
    Port({.id = kSslPort, .name = "sslPortEdit", .item = "LDAP_SSL_PORT_NO", .row = 3}),
    {.id = kSslPortLast, .name = "sslPortRangeLabel", .textKey = "STR_AM_LS_TXT_PORT_RANGE", .row = 3, .column = 2},
    Label({.id = 1261, .name = "searchRootLabel", .textKey = "STR_AM_LS_TXT_SEARCH_ROOT", .row = 4}),
    Text({.id = kSearchRoot, .name = "searchRootEdit", .item = "LDAP_SEARCH_ROOT", .limit = 0, .row = 4}),
    Label({.id = 1263, .name = "attributeLabel", .textKey = "STR_AM_LS_TXT_ATTRIBUTE", .row = 5}),
    Text({.id = kAttribute, .name = "attributeEdit", .item = "LDAP_ATTRIBUTE", .limit = 0, .row = 5}),
    Label({.id = 1265, .name = "searchMethodLabel", .textKey = "STR_AM_LS_TXT_SEARCH_METHOD", .row = 6}),
    Combo({.id = 1266, .name = "searchMethodCombo", .item = "LDAP_SEARCH_MHD", .choices = kSearchMethods, .row = 6}),
    Label({.id = 1267, .name = "ldapTimeoutLabel", .textKey = "STR_AM_LS_TXT_TIMEOUT", .row = 7}),
    Slider({.id = kLdapTimeout,
            .name = "ldapTimeoutSlider",
            .item = "LDAP_TIMEOUT",
            .minimum = 5,
            .maximum = 300,
            .row = 7}),
    ValueLabel({.id = kLdapTimeoutValue, .name = "ldapTimeoutValue", .row = 7}),
    Label({.id = 1270, .name = "maxResultsLabel", .textKey = "STR_AM_LS_TXT_MAX_RESULTS", .row = 8}),
    Slider({.id = kMaxResults,
            .name = "maxResultsSlider",
            .item = "LDAP_MAX_SEARCH_TIME",
            .minimum = 5,
            .maximum = 100,
            .row = 8}),
    ValueLabel({.id = kMaxResultsValue, .name = "maxResultsValue", .row = 8}),
    Label({.id = 1273, .name = "ldapAccountLabel", .textKey = "STR_AM_LS_TXT_ACCOUNT", .row = 9}),
    Text({.id = kLdapAccount, .name = "ldapAccountEdit", .item = "LDAP_ACCOUNT", .limit = 0, .row = 9}),
    Label({.id = 1275, .name = "ldapPasswordLabel", .textKey = "STR_AM_LS_TXT_PASSWORD", .row = 10}),
    Password({.id = kLdapPassword, .name = "ldapPasswordEdit", .item = "LDAP_PASS", .limit = 0, .row = 10}),
    Label({.id = 1277, .name = "ldapDomainLabel", .textKey = "STR_AM_LS_TXT_DOMAIN", .row = 11}),
    Text({.id = kLdapDomain, .name = "ldapDomainEdit", .item = "LDAP_DOMAIN", .limit = 0, .row = 11}),
    Label({.id = 1279, .name = "sslLabel", .textKey = "STR_AM_LS_TXT_SSL", .row = 12}),
    RadioButton({.id = kSslEnable,
                 .name = "sslEnableRadio",
                 .textKey = "STR_AM_LS_RDO_ENABLE",
                 .item = "LDAP_SSL",
                 .group = 2,
                 .radioValue = 1,
                 .fallback = true,
                 .row = 12,
                 .column = 1}),
    RadioButton({.id = 1281,
                 .name = "sslDisableRadio",
                 .textKey = "STR_AM_LS_RDO_DISABLE",
                 .item = "LDAP_SSL",
                 .group = 2,
                 .radioValue = 0,
                 .row = 12,
                 .column = 2}),
    Label({.id = 1282, .name = "authenticationLabel", .textKey = "STR_AM_LS_TXT_AUTHENTICATION", .row = 13}),
    RadioButton({.id = 1283,
                 .name = "anonymousRadio",
                 .textKey = "STR_AM_LS_RDO_ANONYMOUS",
                 .item = "LDAP_AUTH",
                 .group = 3,
                 .radioValue = 0,
                 .fallback = true,
                 .row = 13,
                 .column = 1}),
    RadioButton({.id = 1284,
                 .name = "simpleRadio",
                 .textKey = "STR_AM_LS_RDO_SIMPLE",
                 .item = "LDAP_AUTH",
                 .group = 3,
                 .radioValue = 1,
                 .row = 13,
                 .column = 2}),
    RadioButton({.id = 1285,
                 .name = "digestMd5Radio",
                 .textKey = "STR_AM_LS_RDO_DIGEST_MD5",
                 .item = "LDAP_AUTH",
                 .group = 3,
                 .radioValue = 2,
                 .row = 14,
                 .column = 1}),
    RadioButton({.id = 1286,
                 .name = "gssSpnegoRadio",
                 .textKey = "STR_AM_LS_RDO_GSS_SPNEGO",
                 .item = "LDAP_AUTH",
                 .group = 3,
                 .radioValue = 3,
                 .row = 14,
                 .column = 2}),
};

constexpr CFieldCheck kLdapChecks[] = {
    {.id = kLdapServer, .kind = InputKind::EmailAddress, .code = kMsgLdapServerNameInvalidErr},
    {.id = kLdapPort, .kind = InputKind::Digits, .code = kMsgInvalidRangeValue, .rule = FieldRule::Port},
    {.id = kSslPort, .kind = InputKind::Digits, .code = kMsgInvalidRangeValue, .rule = FieldRule::Port},
    {.id = kSearchRoot, .kind = InputKind::EmailAddress, .code = kMsgInvalidRangeValue},
    {.id = kAttribute, .kind = InputKind::EmailAddress, .code = kMsgInvalidRangeValue},
    {.id = kLdapAccount, .kind = InputKind::EmailAddress, .code = kMsgInvalidRangeValue},
    {.id = kLdapPassword, .kind = InputKind::PrintableAscii, .code = kMsgInvalidRangeValue},
    {.id = kLdapDomain, .kind = InputKind::EmailAddress, .code = kMsgInvalidRangeValue},
};

void UpdateLdap(CPage& page)
{
    const bool enabled = page.IsChecked(kLdapEnable);
    const bool ssl = enabled && page.IsChecked(kSslEnable);
    for (const CControlDef& control : page.Controls()) {
        if (control.id > kLdapDisable) {
            const bool sslRow = control.id >= kSslPortFirst && control.id <= kSslPortLast;
            page.SetEnabled(control.id, sslRow ? ssl : enabled);
        }
    }
    page.SetCaption(kLdapTimeoutValue, Decimal(page.State(kLdapTimeout).value));
    page.SetCaption(kMaxResultsValue, Decimal(page.State(kMaxResults).value));
}

void LdapChanged(CPage& page, std::int32_t)
{
    UpdateLdap(page);
}

CCheckResult CheckLdap(const CPage& page)
{
    return page.IsChecked(kLdapEnable) ? RunFieldChecks(page, kLdapChecks) : CCheckResult{};
}

constexpr CPageRules kLdapRules{
    .afterLoad = UpdateLdap, .onChange = LdapChanged, .check = CheckLdap, .keepsStored = KeepsStoredPort};

constexpr CPageDef kLdapPage{.name = "LDAP_SET_DLG",
                             .className = "CLdapSetDlg",
                             .typeCode = 0x02000080,
                             .titleKey = "STR_TREE_AM_LDAP_SETTING",
                             .ratioKey = "STR_RATIO_TREE_AM_LDAP_SETTING",
                             .controls = kLdapControls,
                             .rules = &kLdapRules};

} // namespace

const CPageDef& EmailSettingsPage()
{
    return kEmailPage;
}

const CPageDef& LdapSettingsPage()
{
    return kLdapPage;
}

} // namespace qzb
