#include "pages/service_man.h"

#include "app/app_context.h"
#include "pages/network_pages.h"
#include "pages/page.h"
#include "pages/paper_pages.h"

#include <gtest/gtest.h>

#include <string>

namespace qzb {
namespace {

struct CChangeCase
{
    const char16_t* current;
    const char16_t* newPassword;
    const char16_t* retyped;
    MessageCode code;
    PasswordField field;
};

// In check order: each row fails one check and passes every check before it.
const CChangeCase kChangeCases[] = {
    {u"qor\u00E9ex", u"", u"", kMsgInvalidRangeValue, PasswordField::Current},
    {u"123456789", u"abcd", u"abcd", kMsgInvalidRangeValue, PasswordField::Current},
    {u"Qorlex", u"abcd", u"abcd", kMsgCurrentPasswordErr, PasswordField::Current},
    {u"", u"abcd", u"abcd", kMsgCurrentPasswordErr, PasswordField::Current},
    {u"qorlex", u"ab\u00E7d", u"x\u00E7", kMsgInvalidRangeValue, PasswordField::New},
    {u"qorlex", u"abc", u"abc", kMsgNewPasswordTooShort, PasswordField::New},
    {u"qorlex", u"", u"", kMsgNewPasswordTooShort, PasswordField::New},
    {u"qorlex", u"abcd", u"ab\u00E7d", kMsgInvalidRangeValue, PasswordField::Retype},
    {u"qorlex", u"abcd", u"abcD", kMsgRetypePasswordErr, PasswordField::Retype},
    {u"qorlex", u"abcd", u"", kMsgRetypePasswordErr, PasswordField::Retype},
    {u"qorlex", u"abcd", u"abcd", kOk, PasswordField::None},
    {u"qorlex", u"~ !{;}\"8", u"~ !{;}\"8", kOk, PasswordField::None},
};

TEST(ServiceManPassword, ChangeChecksRunInOrderAndNameTheField)
{
    CAppContext context(8313);
    for (const CChangeCase& row : kChangeCases) {
        const CPasswordCheck check =
            CheckPasswordChange(row.current, row.newPassword, row.retyped, u"qorlex", context.store);
        const std::u16string current = row.current;
        EXPECT_EQ(check.code, row.code) << std::string(current.begin(), current.end());
        EXPECT_EQ(check.field, row.field) << std::string(current.begin(), current.end());
    }
}

TEST(ServiceManPassword, EntryMatchesTheExpectedTextExactly)
{
    CAppContext context(8313);
    EXPECT_TRUE(CheckPassword(u"qorlex", u"qorlex", context.store).Ok());
    EXPECT_EQ(CheckPassword(u"QORLEX", u"qorlex", context.store).code, kMsgSmPasswordErr);
    EXPECT_EQ(CheckPassword(u"qorle", u"qorlex", context.store).code, kMsgSmPasswordErr);
    EXPECT_EQ(CheckPassword(u"", u"qorlex", context.store).code, kMsgSmPasswordErr);
    EXPECT_EQ(CheckPassword(u"qorl\u00E9x", u"qorl\u00E9x", context.store).code, kMsgInvalidRangeValue)
        << "the input check comes first, even for a text that matches";
    EXPECT_EQ(CheckPassword(u"1234", u"1234", context.store).field, PasswordField::None);
}

TEST(ServiceManPassword, AboutBoxVersionFollowsTheModel)
{
    EXPECT_EQ(VersionText(0x004), u"V1.00");
    EXPECT_EQ(VersionText(0x001), u"V1.02");
    EXPECT_EQ(VersionText(0x100), u"V1.02");
}

// The model names the dialog a control's value opens; the screen only opens it.
TEST(PageDialogs, ControlValuesNameTheDialogTheyOpen)
{
    CAppContext context(8313);
    const CPageEnv env{&context.store, &context.strings, context.modelBit, &context.device};
    CPage paper(PaperSourcePage(), env);
    paper.Initialise();
    paper.SetValue(1644, 25);
    EXPECT_EQ(paper.DialogFor(1644), "");
    paper.SetValue(1644, 39);
    EXPECT_EQ(paper.DialogFor(1644), "CUSTOM_PAPER_SIZE_DLG:2");
    paper.SetValue(1642, 39);
    EXPECT_EQ(paper.DialogFor(1642), "CUSTOM_PAPER_SIZE_DLG:1");
    EXPECT_EQ(paper.DialogFor(1646), "") << "tray 3 has no custom size";

    CPage tcpIp(TcpIpSettingsPage(), env);
    tcpIp.Initialise();
    tcpIp.SetValue(2070, 0);
    EXPECT_EQ(tcpIp.DialogFor(2070), "");
    tcpIp.SetValue(2070, 1);
    EXPECT_EQ(tcpIp.DialogFor(2070), "FTP_SET_DLG");
    EXPECT_EQ(tcpIp.DialogFor(2087), "RAW_PORT_SET_DLG") << "a button opens its dialog whatever its value";
    EXPECT_EQ(tcpIp.DialogFor(2063), "") << "BOOTP has no dialog";
}

} // namespace
} // namespace qzb
