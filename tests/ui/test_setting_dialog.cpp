#include "ui/pages/setting_dialog.h"

#include "app/app_context.h"
#include "app/messenger.h"
#include "pages/network_pages.h"
#include "pages/page_registry.h"
#include "pages/paper_pages.h"
#include "ui/controls/my_combo_box.h"
#include "ui/controls/my_edit.h"
#include "ui/main/qt_message_presenter.h"
#include "ui/pages/page_view.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace qzb {
namespace {

class SettingDialog : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const auto path = std::filesystem::path(QZB_TEST_DATA_DIR) / "M8120QZBSTR.tbl";
        ASSERT_TRUE(m_context.strings.LoadFile(path).Ok());
        CQtMessagePresenter::ClearRecorded();
        m_context.store.SetItemNumber("FTP_SET_DLG", "FTP_PROXY_PORT_NUMBER", 21);
        m_context.store.SetItemNumber("FTP_SET_DLG", "FTP_CONNECTION_TIMEOUT", 60);
    }

    void TearDown() override { CQtMessagePresenter::ClearRecorded(); }

    CPageEnv Env() { return {&m_context.store, &m_context.strings, m_context.modelBit, &m_context.device}; }

    std::int32_t Timeout() { return m_context.store.GetItemNumber("FTP_SET_DLG", "FTP_CONNECTION_TIMEOUT"); }

    // Answers the next setting dialog that opens with answer (from inside its own event loop) and
    // notes its page name; a dialog that stays open after OK is cancelled so that no test hangs.
    void AnswerNextDialog(const char* button)
    {
        QTimer::singleShot(0, [this, button] {
            auto* dialog = qobject_cast<CSettingDialog*>(QApplication::activeModalWidget());
            if (dialog == nullptr) {
                return;
            }
            m_opened.emplace_back(dialog->View().Def().name);
            QTest::mouseClick(dialog->findChild<QPushButton*>(button), Qt::LeftButton);
            if (dialog->isVisible()) {
                m_opened.back() += " (refused OK)";
                dialog->reject();
            }
        });
    }

    CAppContext m_context{8313};
    CQtMessagePresenter m_presenter;
    CMessenger m_messenger{m_context.strings, m_presenter};
    std::vector<std::string> m_opened;
};

// Where a user clicks a check box: on its mark, which a box stretched to its grid column keeps at
// the left.
QPoint BoxMark(const QCheckBox& box)
{
    return {box.height() / 2, box.height() / 2};
}

void TypeInto(CMyEdit* edit, const char* text)
{
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

TEST_F(SettingDialog, OkRefusesABadValueAndStaysThenWritesOnEnterWhileEscapeWritesNothing)
{
    CSettingDialog dialog(*FindPageDef("FTP_SET_DLG"), Env(), m_messenger);
    EXPECT_EQ(dialog.windowTitle(), "FTP");
    EXPECT_EQ(dialog.findChild<QPushButton*>("okButton")->text(), "OK");
    EXPECT_EQ(dialog.findChild<QPushButton*>("cancelButton")->text(), "Cancel");
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    auto* timeout = dialog.findChild<CMyEdit*>("connectionTimeoutEdit");
    ASSERT_NE(timeout, nullptr);
    EXPECT_EQ(timeout->text(), "60") << "loaded from the store when it opens";

    TypeInto(timeout, "20");
    CQtMessagePresenter::SetNextAnswer(kAnswerOk);
    QTest::mouseClick(dialog.findChild<QPushButton*>("okButton"), Qt::LeftButton);
    ASSERT_EQ(CQtMessagePresenter::Recorded().size(), 1u);
    // The refusal names the range and the value as typed.
    EXPECT_EQ(CQtMessagePresenter::Recorded()[0].code, kMsgValueOutOfRange);
    EXPECT_EQ(CQtMessagePresenter::Recorded()[0].text, u"Enter a number from 30 to 300: 20 is out of range.");
    EXPECT_EQ(CQtMessagePresenter::Recorded()[0].owner, static_cast<QWidget*>(&dialog));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(timeout->hasFocus());
    EXPECT_EQ(timeout->selectedText(), "20");
    EXPECT_EQ(Timeout(), 60) << "a refused OK writes nothing";

    TypeInto(timeout, "90");
    QTest::keyClick(timeout, Qt::Key_Return);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(Timeout(), 90);

    CSettingDialog again(*FindPageDef("FTP_SET_DLG"), Env(), m_messenger);
    again.show();
    auto* edit = again.findChild<CMyEdit*>("connectionTimeoutEdit");
    EXPECT_EQ(edit->text(), "90");
    TypeInto(edit, "120");
    QTest::keyClick(edit, Qt::Key_Escape);
    EXPECT_FALSE(again.isVisible());
    EXPECT_EQ(again.result(), QDialog::Rejected);
    EXPECT_EQ(Timeout(), 90);
}

// A long text field alone at the end of its row takes the room to the page's last column, or grows
// to the text it holds, so the factory printer and Bonjour names show whole; a port is drawn about as
// wide as its five digits.
TEST_F(SettingDialog, TextFieldsAreAsWideAsWhatTheyHold)
{
    m_context.store.SetItemText("IPP_SET_DLG", "IPP_PRINTER_NAME", u"MERIDAN TOVELL lumatrace 8120 (xx:xx:xx)");
    CSettingDialog ipp(*FindPageDef("IPP_SET_DLG"), Env(), m_messenger);
    ipp.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&ipp));
    auto* name = ipp.findChild<CMyEdit*>("printerNameEdit");
    ASSERT_NE(name, nullptr);
    EXPECT_GE(name->width(), name->fontMetrics().horizontalAdvance(name->text()));

    // Alone in a dialog of two columns, the Bonjour name has no wider column to take.
    m_context.store.SetItemText("BONJOUR_SET_DLG", "BONJOUR_NAME", u"MERIDAN TOVELL lumatrace 8120MF (12:34:56)");
    CSettingDialog bonjour(*FindPageDef("BONJOUR_SET_DLG"), Env(), m_messenger);
    bonjour.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&bonjour));
    auto* bonjourName = bonjour.findChild<CMyEdit*>("bonjourNameEdit");
    ASSERT_NE(bonjourName, nullptr);
    EXPECT_GE(bonjourName->width(), bonjourName->fontMetrics().horizontalAdvance(bonjourName->text()));

    CSettingDialog snmp(*FindPageDef("SNMP_SET_DLG"), Env(), m_messenger);
    snmp.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&snmp));
    auto* port = snmp.findChild<CMyEdit*>("udpPortEdit");
    auto* community = snmp.findChild<CMyEdit*>("readCommunityEdit");
    ASSERT_TRUE(port != nullptr && community != nullptr);
    EXPECT_LT(port->width(), community->width() / 2);
}

// The printer information takes several lines: Enter breaks the line instead of closing the
// dialog, a stored break shows as one, and OK stores what was typed, breaks included.
TEST_F(SettingDialog, AMultiLineFieldTakesLineBreaks)
{
    m_context.store.SetItemText("IPP_SET_DLG", "IPP_PRINTER_INFORMATION", u"First\nSecond");
    CSettingDialog dialog(*FindPageDef("IPP_SET_DLG"), Env(), m_messenger);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    auto* lines = dialog.findChild<QPlainTextEdit*>("printerInformationEdit");
    ASSERT_NE(lines, nullptr);
    EXPECT_EQ(lines->toPlainText(), "First\nSecond");
    lines->setFocus();
    lines->moveCursor(QTextCursor::End);
    QTest::keyClick(lines, Qt::Key_Return);
    QTest::keyClicks(lines, "Third");
    EXPECT_TRUE(dialog.isVisible()) << "Enter is a line break here";
    QTest::mouseClick(dialog.findChild<QPushButton*>("okButton"), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(m_context.store.GetItemText("IPP_SET_DLG", "IPP_PRINTER_INFORMATION"), u"First\nSecond\nThird");
}

TEST_F(SettingDialog, CheckingABoxOpensItsDialogAndCancelUnchecksIt)
{
    m_context.store.SetItemNumber("TCP_IP_SET_DLG", "NETWORK", 1);
    m_context.store.SetItemNumber("TCP_IP_SET_DLG", "NETWORK_FTP", 0);
    CPageView page(TcpIpSettingsPage(), Env(), m_messenger);
    page.Initialise();
    page.resize(page.ContentSize());
    page.show();
    auto* ftp = page.findChild<QCheckBox*>("ftpCheck");
    ASSERT_NE(ftp, nullptr);
    ASSERT_TRUE(ftp->isEnabled());
    const std::int32_t id = ftp->property("controlId").toInt();

    AnswerNextDialog("cancelButton");
    QTest::mouseClick(ftp, Qt::LeftButton, {}, BoxMark(*ftp));
    EXPECT_EQ(m_opened, std::vector<std::string>{"FTP_SET_DLG"});
    EXPECT_FALSE(ftp->isChecked());
    EXPECT_EQ(page.Model().State(id).value, 0);

    AnswerNextDialog("okButton");
    QTest::mouseClick(ftp, Qt::LeftButton, {}, BoxMark(*ftp));
    EXPECT_EQ(m_opened.size(), 2u);
    EXPECT_EQ(m_opened.back(), "FTP_SET_DLG");
    EXPECT_TRUE(ftp->isChecked());
    EXPECT_EQ(page.Model().State(id).value, 1);

    QTest::mouseClick(ftp, Qt::LeftButton, {}, BoxMark(*ftp));
    EXPECT_EQ(m_opened.size(), 2u) << "unchecking opens nothing";
    EXPECT_FALSE(ftp->isChecked());

    AnswerNextDialog("cancelButton");
    QTest::mouseClick(page.findChild<QPushButton*>("rawPortButton"), Qt::LeftButton);
    EXPECT_EQ(m_opened.back(), "RAW_PORT_SET_DLG") << "a button always opens its dialog";
}

// Forwarding on the fax reception page: a click on ON... opens the forward location dialog; Cancel
// gives the check back to OFF, OK with a number keeps ON... and the page writes both.
TEST_F(SettingDialog, ForwardingChoiceOpensItsDialogAndCancelGivesTheCheckBack)
{
    m_context.store.SetItemNumber("FAX_RX_SET_DLG", "FAX_RX_OPE_FORWARD", 2);
    CPageView page(*FindPageDef("FAX_RX_SET_DLG"), Env(), m_messenger);
    page.Initialise();
    page.show();
    auto* on = page.findChild<QRadioButton*>("forwardOnRadio");
    auto* off = page.findChild<QRadioButton*>("forwardOffRadio");
    ASSERT_TRUE(on != nullptr && off != nullptr);
    ASSERT_TRUE(off->isChecked());

    AnswerNextDialog("cancelButton");
    QTest::mouseClick(on, Qt::LeftButton);
    EXPECT_EQ(m_opened, std::vector<std::string>{"FORWARD_LOCATION_DLG"});
    EXPECT_TRUE(off->isChecked());
    EXPECT_FALSE(on->isChecked());

    QTimer::singleShot(0, [this] {
        auto* dialog = qobject_cast<CSettingDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        m_opened.emplace_back(dialog->View().Def().name);
        TypeInto(dialog->findChild<CMyEdit*>("forwardFaxNumberEdit"), "0123456");
        QTest::mouseClick(dialog->findChild<QPushButton*>("okButton"), Qt::LeftButton);
        if (dialog->isVisible()) {
            dialog->reject();
        }
    });
    QTest::mouseClick(on, Qt::LeftButton);
    EXPECT_EQ(m_opened.size(), 2u);
    EXPECT_TRUE(on->isChecked());
    EXPECT_FALSE(off->isChecked());
    ASSERT_TRUE(page.Commit().Ok());
    EXPECT_EQ(m_context.store.GetItemNumber("FAX_RX_SET_DLG", "FAX_RX_OPE_FORWARD"), 0);
    EXPECT_EQ(m_context.store.GetItemText("FORWARD_LOCATION_DLG", "FAX_RX_OPE_FAX_NUMBER"), u"0123456");
}

// The user page's clock: a full hour hands the focus to the minute, and a 13th month is not taken.
TEST_F(SettingDialog, UserPageClockHandsTheFocusOnAndRefusesA13thMonth)
{
    CPageView page(*FindPageDef("USER_SET_DLG"), Env(), m_messenger);
    page.Initialise();
    page.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));
    auto* hour = page.findChild<CMyEdit*>("hourEdit");
    auto* minute = page.findChild<CMyEdit*>("minuteEdit");
    auto* month = page.findChild<CMyEdit*>("monthEdit");
    ASSERT_TRUE(hour != nullptr && minute != nullptr && month != nullptr);
    TypeInto(hour, "21");
    EXPECT_EQ(hour->text(), "21");
    EXPECT_TRUE(minute->hasFocus());
    EXPECT_EQ(minute->selectedText(), minute->text());
    TypeInto(month, "13");
    EXPECT_EQ(month->text(), "1");
}

TEST_F(SettingDialog, ChoosingCustomSizeOpensItsTraysDialogAndCancelRestoresTheSize)
{
    m_context.store.SetItemNumber("PAPER_SET_DLG", "PAPER_TRAY2_PAPER_SIZE", 25);
    m_context.store.SetItemNumber("CUSTOM_PAPER_SIZE_DLG", "PAPER_TRAY2_CUSTOM_X", 100);
    m_context.store.SetItemNumber("CUSTOM_PAPER_SIZE_DLG", "PAPER_TRAY2_CUSTOM_Y", 200);
    CPageView page(PaperSourcePage(), Env(), m_messenger);
    page.Initialise();
    page.show();
    auto* tray2 = page.findChild<CMyComboBox*>("tray2SizeCombo");
    ASSERT_NE(tray2, nullptr);
    tray2->setFocus();

    AnswerNextDialog("cancelButton");
    QTest::keyClick(tray2, Qt::Key_Down); // Executive -> Custom, the last size
    EXPECT_EQ(m_opened, std::vector<std::string>{"CUSTOM_PAPER_SIZE_DLG:2"});
    EXPECT_EQ(tray2->SelectedValue(), 25);
    EXPECT_EQ(page.Model().State(1644).value, 25);

    AnswerNextDialog("okButton");
    QTest::keyClick(tray2, Qt::Key_Down);
    EXPECT_EQ(m_opened.size(), 2u);
    EXPECT_EQ(m_opened.back(), "CUSTOM_PAPER_SIZE_DLG:2");
    EXPECT_EQ(tray2->SelectedValue(), 39);
    EXPECT_EQ(page.Model().State(1644).value, 39);

    // Custom chosen again opens the dialog again; Cancel leaves the Custom it had.
    AnswerNextDialog("cancelButton");
    emit tray2->activated(tray2->currentIndex());
    EXPECT_EQ(m_opened.size(), 3u);
    EXPECT_EQ(tray2->SelectedValue(), 39);

    auto* tray1 = page.findChild<CMyComboBox*>("tray1SizeCombo");
    const std::int32_t before = tray1->SelectedValue();
    AnswerNextDialog("cancelButton");
    tray1->setCurrentIndex(tray1->findData(39));
    emit tray1->activated(tray1->currentIndex());
    EXPECT_EQ(m_opened.back(), "CUSTOM_PAPER_SIZE_DLG:1");
    EXPECT_EQ(tray1->SelectedValue(), before);
    EXPECT_EQ(page.Model().State(1642).value, before);
}

// A dialog taller than the screen scrolls its controls; OK and Cancel stay on the screen.
TEST_F(SettingDialog, ADialogTallerThanTheScreenScrollsInsteadOfLeavingIt)
{
    CAppContext large(8314);
    std::istringstream tall("STR_RATIO_DLG_SNMP=4\n");
    ASSERT_TRUE(large.strings.Load(tall).Ok());
    CSettingDialog dialog(
        *FindPageDef("SNMP_SET_DLG"), {&large.store, &large.strings, large.modelBit, &large.device}, m_messenger);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    ASSERT_GT(dialog.View().ContentSize().height(), dialog.screen()->availableGeometry().height());
    EXPECT_LE(dialog.height(), dialog.screen()->availableGeometry().height());
    EXPECT_TRUE(dialog.View().verticalScrollBar()->isVisible());
    EXPECT_FALSE(dialog.View().horizontalScrollBar()->isVisible());
}

} // namespace
} // namespace qzb
