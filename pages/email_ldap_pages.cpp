#include "pages/email_ldap_pages.h"

#include "model/input_chars.h"
#include "pages/common_checks.h"
#include "pages/control_rows.h"
#include "pages/page.h"

#include <string>

namespace qzb {

using namespace rows;

namespace {

// Input kinds of the e-mail and LDAP fields: texts, passwords and port numbers.
constexpr std::int32_t kTextKind = 7;
constexpr std::int32_t kPasswordKind = 15;
constexpr std::int32_t kPortKind = 4;
constexpr std::int32_t kPortMinimum = 1;
constexpr std::int32_t kPortMaximum = 65535;

// The pages check their fields themselves, in their own order and only while the fields are live,
// so the engine's per-control checks stay off.
constexpr CControlDef Text(std::int32_t id, std::string_view name, std::string_view item, std::int32_t limit, int row)
{
    return TextEdit(id, name, item, kTextKind, limit, row, kEveryModelMask, CheckRule::None);
}

constexpr CControlDef
Password(std::int32_t id, std::string_view name, std::string_view item, std::int32_t limit, int row)
{
    return PasswordEdit(id, name, item, kPasswordKind, limit, row);
}

constexpr CControlDef Port(std::int32_t id, std::string_view name, std::string_view item, int row)
{
    CControlDef control = PortEdit(id, name, item, 5, kPortMinimum, kPortMaximum, row);
    control.check = CheckRule::None;
    return control;
}

constexpr CControlDef Slider(
    std::int32_t id, std::string_view name, std::string_view item, std::int32_t minimum, std::int32_t maximum, int row)
{
    return {.id = id,
            .kind = ControlKind::Slider,
            .name = name,
            .binding = Binding::Slider,
            .item = item,
            .minimum = minimum,
            .maximum = maximum,
            .row = row,
            .column = 1};
}

constexpr CControlDef ValueLabel(std::int32_t id, std::string_view name, int row)
{
    return {.id = id, .name = name, .row = row, .column = 2};
}

constexpr CControlDef
Check(std::int32_t id, std::string_view name, std::string_view key, std::string_view item, int row)
{
    return CheckBox(id, name, key, item, row, 0);
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
    std::int32_t kind;
    MessageCode code;
    FieldRule rule = FieldRule::Text;
    std::int32_t onlyWhileChecked = 0; // a check box that switches the field's group on; 0: always
};

bool IsValidPort(const CPage& page, std::int32_t id)
{
    const std::u16string& text = page.State(id).text;
    return IsInputTextValid(text, kPortKind, *page.Env().store) && IsInRange(text, kPortMinimum, kPortMaximum);
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
    Label(1360, "emailLabel", "STR_AM_ES_TXT_E_MAIL", 0),
    RadioButton(kEmailEnable, "emailEnableRadio", "STR_AM_ES_RDO_ENABLE", "EMAIL_ENABLE", 1, 1, true, 0, 1),
    RadioButton(1362, "emailDisableRadio", "STR_AM_ES_RDO_DISABLE", "EMAIL_ENABLE", 1, 0, false, 0, 2),
    Check(kEmailFirst, "scanSendingCheck", "STR_AM_ES_CHK_SCAN_SENDING", "EMAIL_SCAN_SENDING", 1),
    Label(1364, "senderNameLabel", "STR_AM_ES_TXT_SENDER_NAME", 2),
    Text(1365, "senderNameEdit", "EMAIL_SENDER_NAME", 20, 2),
    Label(1366, "emailAddressLabel", "STR_AM_ES_TXT_E_MAIL_ADDRESS", 3),
    Text(1367, "emailAddressEdit", "EMAIL_ADR", 64, 3),
    Label(1368, "subjectLabel", "STR_AM_ES_TXT_SUBJECT", 4),
    Text(1369, "subjectEdit", "EMAIL_SBJ", 20, 4),
    Label(1370, "smtpServerLabel", "STR_AM_ES_TXT_SMTP_SERVER", 5),
    Text(1371, "smtpServerEdit", "EMAIL_SMTP_NAME", 64, 5),
    Label(1372, "smtpPortLabel", "STR_AM_ES_TXT_SMTP_PORT", 6),
    Port(1373, "smtpPortEdit", "EMAIL_SMTP_PORT_NO", 6),
    Label(1375, "smtpTimeoutLabel", "STR_AM_ES_TXT_SMTP_TIMEOUT", 7),
    Slider(kSmtpTimeout, "smtpTimeoutSlider", "EMAIL_SMTP_TIMEOUT", 30, 300, 7),
    ValueLabel(kSmtpTimeoutValue, "smtpTimeoutValue", 7),
    Check(1378, "textInsertCheck", "STR_AM_ES_CHK_TEXT_INSERT", "EMAIL_TEXT_INSERT", 8),
    Check(kPopBeforeSmtp, "popBeforeSmtpCheck", "STR_AM_ES_CHK_POP_BEFORE_SMTP", "EMAIL_COMM_MODE", 9),
    Label(kPop3First, "pop3ServerLabel", "STR_AM_ES_TXT_POP3_SERVER", 10),
    Text(1382, "pop3ServerEdit", "EMAIL_POP3_NAME_ADDR", 64, 10),
    Label(1383, "waitTimeLabel", "STR_AM_ES_TXT_WAIT_TIME", 11),
    Slider(kWaitTime, "waitTimeSlider", "EMAIL_COMM_WAIT_TIME", 0, 60, 11),
    ValueLabel(kWaitTimeValue, "waitTimeValue", 11),
    Label(1386, "pop3AccountLabel", "STR_AM_ES_TXT_POP3_ACCOUNT", 12),
    Text(1387, "pop3AccountEdit", "EMAIL_POP3_ACCOUNT", 63, 12),
    Label(1388, "pop3PasswordLabel", "STR_AM_ES_TXT_POP3_PASSWORD", 13),
    Password(1389, "pop3PasswordEdit", "EMAIL_POP3_PASS", 15, 13),
    Label(1390, "pop3PortLabel", "STR_AM_ES_TXT_POP3_PORT", 14),
    Port(1391, "pop3PortEdit", "EMAIL_POP3_PORT_NO", 14),
    Label(1393, "pop3TimeoutLabel", "STR_AM_ES_TXT_POP3_TIMEOUT", 15),
    Slider(kPop3Timeout, "pop3TimeoutSlider", "EMAIL_POP3_TIMEOUT", 30, 300, 15),
    ValueLabel(kPop3TimeoutValue, "pop3TimeoutValue", 15),
    Check(kSmtpAuth, "smtpAuthCheck", "STR_AM_ES_CHK_SMTP_AUTH", "EMAIL_SMTP", 16),
    Label(1399, "smtpUserNameLabel", "STR_AM_ES_TXT_SMTP_USER_NAME", 17),
    Text(kAuthFirst, "smtpUserNameEdit", "EMAIL_SMTP_USER_NAME", 63, 17),
    Label(1400, "smtpPasswordLabel", "STR_AM_ES_TXT_SMTP_PASSWORD", 18),
    Password(kEmailLast, "smtpPasswordEdit", "EMAIL_SMTP_PW", 15, 18),
};

constexpr CFieldCheck kEmailChecks[] = {
    {1365, kTextKind, kMsgInvalidRangeValue},
    {1367, kTextKind, kMsgMachineEmailAddressErr, FieldRule::Email},
    {1369, kTextKind, kMsgInvalidRangeValue},
    {1371, kTextKind, kMsgSmtpServerAddInvalidErr},
    {1373, kPortKind, kMsgInvalidRangeValue, FieldRule::Port},
    {1382, kTextKind, kMsgPop3ServerAddInvalidErr, FieldRule::Text, kPopBeforeSmtp},
    {1387, kTextKind, kMsgPop3AccountInvalidErr, FieldRule::Text, kPopBeforeSmtp},
    {1389, kPasswordKind, kMsgPop3PasswordInvalidErr, FieldRule::Text, kPopBeforeSmtp},
    {1391, kPortKind, kMsgInvalidRangeValue, FieldRule::Port, kPopBeforeSmtp},
    {kAuthFirst, kTextKind, kMsgSmtpUserNameInvalidErr, FieldRule::Text, kSmtpAuth},
    {kEmailLast, kPasswordKind, kMsgSmtpPasswordInvalidErr, FieldRule::Text, kSmtpAuth},
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
    Label(1250, "ldapLabel", "STR_AM_LS_TXT_LDAP", 0),
    RadioButton(kLdapEnable, "ldapEnableRadio", "STR_AM_LS_RDO_ENABLE", "LDAP", 1, 1, true, 0, 1),
    RadioButton(kLdapDisable, "ldapDisableRadio", "STR_AM_LS_RDO_DISABLE", "LDAP", 1, 0, false, 0, 2),
    Label(1253, "ldapServerLabel", "STR_AM_LS_TXT_SERVER_NAME", 1),
    Text(1254, "ldapServerEdit", "LDAP_SER_NAME", 0, 1),
    Label(1255, "ldapPortLabel", "STR_AM_LS_TXT_PORT", 2),
    Port(1256, "ldapPortEdit", "LDAP_SER_PORT_NO", 2),
    {.id = 1257, .name = "ldapPortRangeLabel", .textKey = "STR_AM_LS_TXT_PORT_RANGE", .row = 2, .column = 2},
    Label(kSslPortFirst, "sslPortLabel", "STR_AM_LS_TXT_SSL_PORT", 3),
    Port(1259, "sslPortEdit", "LDAP_SSL_PORT_NO", 3),
    {.id = kSslPortLast, .name = "sslPortRangeLabel", .textKey = "STR_AM_LS_TXT_PORT_RANGE", .row = 3, .column = 2},
    Label(1261, "searchRootLabel", "STR_AM_LS_TXT_SEARCH_ROOT", 4),
    Text(1262, "searchRootEdit", "LDAP_SEARCH_ROOT", 0, 4),
    Label(1263, "attributeLabel", "STR_AM_LS_TXT_ATTRIBUTE", 5),
    Text(1264, "attributeEdit", "LDAP_ATTRIBUTE", 0, 5),
    Label(1265, "searchMethodLabel", "STR_AM_LS_TXT_SEARCH_METHOD", 6),
    Combo(1266, "searchMethodCombo", "LDAP_SEARCH_MHD", kSearchMethods, 6),
    Label(1267, "ldapTimeoutLabel", "STR_AM_LS_TXT_TIMEOUT", 7),
    Slider(kLdapTimeout, "ldapTimeoutSlider", "LDAP_TIMEOUT", 5, 300, 7),
    ValueLabel(kLdapTimeoutValue, "ldapTimeoutValue", 7),
    Label(1270, "maxResultsLabel", "STR_AM_LS_TXT_MAX_RESULTS", 8),
    Slider(kMaxResults, "maxResultsSlider", "LDAP_MAX_SEARCH_TIME", 5, 100, 8),
    ValueLabel(kMaxResultsValue, "maxResultsValue", 8),
    Label(1273, "ldapAccountLabel", "STR_AM_LS_TXT_ACCOUNT", 9),
    Text(1274, "ldapAccountEdit", "LDAP_ACCOUNT", 0, 9),
    Label(1275, "ldapPasswordLabel", "STR_AM_LS_TXT_PASSWORD", 10),
    Password(1276, "ldapPasswordEdit", "LDAP_PASS", 0, 10),
    Label(1277, "ldapDomainLabel", "STR_AM_LS_TXT_DOMAIN", 11),
    Text(1278, "ldapDomainEdit", "LDAP_DOMAIN", 0, 11),
    Label(1279, "sslLabel", "STR_AM_LS_TXT_SSL", 12),
    RadioButton(kSslEnable, "sslEnableRadio", "STR_AM_LS_RDO_ENABLE", "LDAP_SSL", 2, 1, true, 12, 1),
    RadioButton(1281, "sslDisableRadio", "STR_AM_LS_RDO_DISABLE", "LDAP_SSL", 2, 0, false, 12, 2),
    Label(1282, "authenticationLabel", "STR_AM_LS_TXT_AUTHENTICATION", 13),
    RadioButton(1283, "anonymousRadio", "STR_AM_LS_RDO_ANONYMOUS", "LDAP_AUTH", 3, 0, true, 13, 1),
    RadioButton(1284, "simpleRadio", "STR_AM_LS_RDO_SIMPLE", "LDAP_AUTH", 3, 1, false, 13, 2),
    RadioButton(1285, "digestMd5Radio", "STR_AM_LS_RDO_DIGEST_MD5", "LDAP_AUTH", 3, 2, false, 14, 1),
    RadioButton(1286, "gssSpnegoRadio", "STR_AM_LS_RDO_GSS_SPNEGO", "LDAP_AUTH", 3, 3, false, 14, 2),
};

constexpr CFieldCheck kLdapChecks[] = {
    {1254, kTextKind, kMsgLdapServerNameInvalidErr},
    {1256, kPortKind, kMsgInvalidRangeValue, FieldRule::Port},
    {1259, kPortKind, kMsgInvalidRangeValue, FieldRule::Port},
    {1262, kTextKind, kMsgInvalidRangeValue},
    {1264, kTextKind, kMsgInvalidRangeValue},
    {1274, kTextKind, kMsgInvalidRangeValue},
    {1276, kPasswordKind, kMsgInvalidRangeValue},
    {1278, kTextKind, kMsgInvalidRangeValue},
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
