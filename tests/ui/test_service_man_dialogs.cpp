#include "ui/main/change_pass_dlg.h"
#include "ui/main/pass_dlg.h"
#include "ui/main/version_dlg.h"

#include "app/app_context.h"
#include "app/messenger.h"
#include "app/model_profile.h"
#include "app/preferences.h"
#include "ui/controls/my_edit.h"
#include "ui/main/qsettings_preferences.h"
#include "ui/main/qt_message_presenter.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <filesystem>

namespace qzb {
namespace {

class ServiceManDialogs : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const auto path = std::filesystem::path(QZB_TEST_DATA_DIR) / "M8120QZBSTR.tbl";
        ASSERT_TRUE(m_context.strings.LoadFile(path).Ok());
        CQtMessagePresenter::ClearRecorded();
    }

    void TearDown() override { CQtMessagePresenter::ClearRecorded(); }

    // Types text over the field's content and presses OK, answering the message box it may show.
    static void Enter(QDialog& dialog, const char* field, const char* text)
    {
        auto* edit = dialog.findChild<CMyEdit*>(field);
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }

    static MessageCode PressOk(QDialog& dialog)
    {
        const std::size_t before = CQtMessagePresenter::Recorded().size();
        CQtMessagePresenter::SetNextAnswer(kAnswerOk);
        QTest::mouseClick(dialog.findChild<QPushButton*>("okButton"), Qt::LeftButton);
        if (CQtMessagePresenter::Recorded().size() == before) {
            CQtMessagePresenter::ClearRecorded(); // the queued answer was not needed
            return kOk;
        }
        return CQtMessagePresenter::Recorded().back().code;
    }

    CAppContext m_context{8313};
    CQtMessagePresenter m_presenter;
    CMessenger m_messenger{m_context.strings, m_presenter};
};

TEST_F(ServiceManDialogs, PasswordEntryRefusesAWrongPasswordAndSelectsIt)
{
    CPassDlg dialog(m_messenger, m_context.store, u"qorlex");
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_EQ(dialog.windowTitle(), "Service Mode");
    EXPECT_EQ(dialog.findChild<QLabel*>("passwordLabel")->text(), "Password");
    auto* edit = dialog.findChild<CMyEdit*>("passwordEdit");
    EXPECT_EQ(edit->maxLength(), 8);
    EXPECT_TRUE(edit->Rules().noCopyCut);

    Enter(dialog, "passwordEdit", "qorlexx");
    EXPECT_EQ(edit->displayText(), "*******");
    EXPECT_EQ(PressOk(dialog), kMsgSmPasswordErr);
    EXPECT_EQ(CQtMessagePresenter::Recorded().back().owner, static_cast<QWidget*>(&dialog));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(edit->hasFocus());
    EXPECT_EQ(edit->selectedText(), "qorlexx");

    edit->setText(QString::fromUtf16(u"qorl\u00E9x"));
    EXPECT_EQ(PressOk(dialog), kMsgInvalidRangeValue);

    Enter(dialog, "passwordEdit", "qorlex");
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(dialog.result(), QDialog::Accepted) << "Enter acts as OK";

    CPassDlg fax(m_messenger, m_context.store, u"1234", true);
    EXPECT_EQ(fax.findChild<CMyEdit*>("passwordEdit")->maxLength(), 4);
}

TEST_F(ServiceManDialogs, ChangedPasswordAppliesAtOnceAndPersists)
{
    CQSettingsPreferences preferences(PreferencesKeyPath(FindModelProfile(8313)));
    QFile::remove(preferences.FilePath());
    std::u16string password = ReadServiceManPassword(preferences);
    ASSERT_EQ(password, u"qorlex");

    CChangePassDlg dialog(m_messenger, m_context.store, preferences, password);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    Enter(dialog, "currentPasswordEdit", "qorlex");
    Enter(dialog, "newPasswordEdit", "abc");
    Enter(dialog, "retypePasswordEdit", "abc");
    EXPECT_EQ(PressOk(dialog), kMsgNewPasswordTooShort) << "three characters, even when retyped alike";
    EXPECT_EQ(CQtMessagePresenter::Recorded().back().text,
              u"The new password is too short: it needs at least 4 characters.");
    EXPECT_TRUE(dialog.findChild<CMyEdit*>("newPasswordEdit")->hasFocus());
    EXPECT_EQ(dialog.findChild<CMyEdit*>("newPasswordEdit")->selectedText(), "abc");

    Enter(dialog, "newPasswordEdit", "n3w;");
    Enter(dialog, "retypePasswordEdit", "n3w:");
    EXPECT_EQ(PressOk(dialog), kMsgRetypePasswordErr);
    EXPECT_TRUE(dialog.findChild<CMyEdit*>("retypePasswordEdit")->hasFocus());
    EXPECT_EQ(password, u"qorlex");

    Enter(dialog, "retypePasswordEdit", "n3w;");
    EXPECT_EQ(PressOk(dialog), kOk);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(dialog.Saved());
    EXPECT_EQ(password, u"n3w;");
    EXPECT_EQ(ReadServiceManPassword(CQSettingsPreferences(PreferencesKeyPath(FindModelProfile(8313)))), u"n3w;");

    CChangePassDlg cancelled(m_messenger, m_context.store, preferences, password);
    cancelled.show();
    Enter(cancelled, "currentPasswordEdit", "n3w;");
    QTest::mouseClick(cancelled.findChild<QPushButton*>("cancelButton"), Qt::LeftButton);
    EXPECT_EQ(cancelled.result(), QDialog::Rejected);
    EXPECT_EQ(password, u"n3w;");
    QFile::remove(preferences.FilePath());
}

TEST_F(ServiceManDialogs, AFailedWriteIsReportedAndTheNewPasswordStillApplies)
{
    CQSettingsPreferences unusable(""); // drops every write
    std::u16string password = u"qorlex";
    CChangePassDlg dialog(m_messenger, m_context.store, unusable, password);
    dialog.show();
    Enter(dialog, "currentPasswordEdit", "qorlex");
    Enter(dialog, "newPasswordEdit", "abcd");
    Enter(dialog, "retypePasswordEdit", "abcd");
    EXPECT_EQ(PressOk(dialog), kMsgSmPasswordSaveErr);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog.Saved());
    EXPECT_EQ(password, u"abcd");
}

TEST_F(ServiceManDialogs, AboutBoxOfTheSmallModelIsShorterAndOlder)
{
    CVersionDlg about(m_messenger, 0x001);
    CVersionDlg small(m_messenger, 0x004);
    EXPECT_EQ(about.findChild<QLabel*>("versionLabel")->text(), "V1.02");
    EXPECT_EQ(small.findChild<QLabel*>("versionLabel")->text(), "V1.00");
    EXPECT_FALSE(about.findChild<QLabel*>("descriptionLabel")->isHidden());
    EXPECT_TRUE(small.findChild<QLabel*>("descriptionLabel")->isHidden());
    EXPECT_LT(small.height(), about.height());
}

} // namespace
} // namespace qzb
