#include "app/preferences.h"
#include "pages/dial_commands.h"
#include "pages/page_registry.h"
#include "session/qzb_session.h"
#include "tests/ui/keyboard_fixture.h"
#include "ui/controls/my_edit.h"
#include "ui/main/change_pass_dlg.h"
#include "ui/main/contacts_import_dialog.h"
#include "ui/main/entry_dialog.h"
#include "ui/main/pass_dlg.h"
#include "ui/main/qsettings_preferences.h"
#include "ui/main/restore_backup_dialog.h"
#include "ui/main/select_pri_item_dlg.h"
#include "ui/main/upload_preview_dialog.h"
#include "ui/main/version_dlg.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>

namespace qzb {
namespace {

// Return and Space on a focused push button press that button in every dialog and editor the
// window opens; Return elsewhere presses the default button.
class KeyboardButtons : public CKeyboardFixture
{
protected:
    static QList<QPushButton*> FocusableButtons(QDialog& dialog)
    {
        QList<QPushButton*> buttons;
        for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
            if (button->isVisible() && button->isEnabled() && (button->focusPolicy() & Qt::TabFocus) != 0) {
                buttons.push_back(button);
            }
        }
        return buttons;
    }

    static QString Label(const QPushButton& button)
    {
        return button.objectName().isEmpty() ? button.text() : button.objectName();
    }

    // Opens the dialog once for each of its push buttons, gives that button the focus and presses
    // Return on the focused widget: the button's own click must be the only one, a cancelling
    // button must close the dialog unaccepted, and a dialog a button opens is closed again from
    // inside its loop and noted. Returns the buttons pressed, each with the dialogs it opened.
    std::vector<std::pair<QString, QStringList>> PressEachButton(const std::string& what,
                                                                 const std::function<QDialog*()>& open,
                                                                 const std::function<void(QDialog*)>& close)
    {
        std::vector<std::pair<QString, QStringList>> pressed;
        for (int index = 0;; ++index) {
            QPointer<QDialog> dialog = open();
            if (dialog == nullptr) {
                ADD_FAILURE() << what << " did not open";
                break;
            }
            EXPECT_TRUE(QTest::qWaitForWindowExposed(dialog)) << what;
            const QList<QPushButton*> buttons = FocusableButtons(*dialog);
            if (index >= buttons.size()) {
                close(dialog);
                break;
            }
            QPushButton* target = buttons[index];
            const QString label = Label(*target);
            // A focused auto-default button is drawn as the one Return presses.
            EXPECT_TRUE(target->autoDefault()) << what << ": " << label.toStdString();
            auto clicked = std::make_shared<QStringList>();
            for (QPushButton* button : buttons) {
                const QString name = Label(*button);
                QObject::connect(button, &QPushButton::clicked, dialog, [clicked, name] { clicked->push_back(name); });
            }
            if (!FocusOn(target)) {
                ADD_FAILURE() << what << ": " << label.toStdString() << " takes no focus";
                close(dialog);
                continue;
            }
            QStringList nested;
            QTimer closer;
            closer.setInterval(10);
            QObject::connect(&closer, &QTimer::timeout, [&nested, &dialog] {
                auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget());
                if (modal != nullptr && modal != dialog && modal->isVisible()) {
                    nested.push_back(modal->objectName());
                    modal->reject();
                }
            });
            closer.start();
            PressOnFocus(Qt::Key_Return);
            closer.stop();
            EXPECT_EQ(*clicked, QStringList{label}) << what << ": Return on the focused " << label.toStdString();
            if (label.contains("ancel", Qt::CaseInsensitive) && dialog != nullptr) {
                EXPECT_FALSE(dialog->isVisible()) << what << ": " << label.toStdString();
                EXPECT_EQ(dialog->result(), QDialog::Rejected) << what << ": " << label.toStdString();
            }
            pressed.emplace_back(label, nested);
            if (dialog != nullptr) {
                close(dialog);
            }
        }
        return pressed;
    }

    static void Delete(QDialog* dialog)
    {
        if (dialog != nullptr) {
            dialog->reject();
            dialog->deleteLater();
        }
    }

    // The visible dialog of the window with that object name, which the window showed without
    // waiting (a setting dialog or an entry editor).
    QDialog* ShownDialog(const QString& name) const
    {
        for (QDialog* dialog : window->findChildren<QDialog*>(name)) {
            if (dialog->isVisible()) {
                return dialog;
            }
        }
        return nullptr;
    }

    std::u16string m_password = std::u16string(kFactoryServiceManPassword);
};

TEST_F(KeyboardButtons, ReturnPressesTheFocusedButtonOfEverySettingDialog)
{
    ConnectAndDownload();
    ASSERT_TRUE(window->EnterServiceMan(u"qorlex"));
    window->SetLookOnly(true);
    std::size_t dialogs = 0;
    for (const CPageDef* def : PageDefs()) {
        if (def->pageClass != PageClass::SettingDialog) {
            continue;
        }
        const std::string name(def->name);
        if (!window->SelectPage(name)) {
            continue; // not a dialog of this model
        }
        window->CloseShownDialog();
        ++dialogs;
        const auto pressed = PressEachButton(
            name,
            [this, &name]() -> QDialog* {
                window->SelectPage(name);
                return qobject_cast<QDialog*>(QApplication::activeModalWidget());
            },
            [this](QDialog*) { window->CloseShownDialog(); });
        EXPECT_GE(pressed.size(), 2u) << name << ": OK and Cancel at least";
    }
    EXPECT_GT(dialogs, 10u);
}

TEST_F(KeyboardButtons, ReturnPressesTheFocusedButtonOfEveryEditorAndWindowDialog)
{
    ConnectAndDownload();
    ASSERT_TRUE(window->EnterServiceMan(u"qorlex"));
    const CAddressBook& book = context.device.book;
    ASSERT_FALSE(book.FaxMailEntries().empty());
    ASSERT_FALSE(book.Groups().empty());
    const std::int32_t faxNumber = book.FaxMailEntries().front().number;
    const std::int32_t group = book.Groups().front().number;
    const CDialCommand editors[] = {
        {kOk, DialEditor::FaxMail, faxNumber},
        {kOk, DialEditor::FaxMail, 219},
        {kOk, DialEditor::Scan, 250},
        {kOk, DialEditor::GroupName, group},
        {kOk, DialEditor::Favourite, 20},
    };
    bool detailsOpened = false;
    for (const CDialCommand& command : editors) {
        const std::string what =
            "editor " + std::to_string(static_cast<int>(command.editor)) + " for " + std::to_string(command.number);
        for (const auto& [button, nested] : PressEachButton(
                 what,
                 [this, &command]() -> QDialog* {
                     window->ShowEntryEditor(command);
                     return ShownDialog("entryDialog");
                 },
                 [this](QDialog*) { window->CloseShownDialog(); })) {
            if (button == "detailsButton") {
                EXPECT_EQ(nested, QStringList{"faxDetailsDialog"}) << what;
                detailsOpened = detailsOpened || nested == QStringList{"faxDetailsDialog"};
            } else {
                EXPECT_TRUE(nested.isEmpty()) << what << ": " << button.toStdString();
            }
        }
    }
    EXPECT_TRUE(detailsOpened) << "Return on Details… opened the details dialog";
    EXPECT_EQ(context.device.book, book) << "no editor stored anything";

    const std::vector<std::pair<std::string, std::function<QDialog*()>>> dialogs = {
        {"fax details",
         [this] {
             auto* dialog = new CEntryDialog(std::make_unique<CFaxDetailsEditing>(CFaxDetails{}, context.store),
                                             context.device.book,
                                             context,
                                             messenger,
                                             window.get());
             dialog->setObjectName("faxDetailsDialog");
             dialog->show();
             return dialog;
         }},
        {"change password",
         [this] {
             auto* dialog = new CChangePassDlg(messenger, context.store, preferences, m_password, window.get());
             dialog->show();
             return dialog;
         }},
        {"service-man password",
         [this] {
             auto* dialog = new CPassDlg(messenger, context.store, m_password, false, window.get());
             dialog->show();
             return dialog;
         }},
        {"about",
         [this] {
             auto* dialog = new CVersionDlg(messenger, context.modelBit, window.get());
             dialog->show();
             return dialog;
         }},
        {"select print items",
         [this] {
             auto* dialog = new CSelectPriItemDlg(context, messenger, window.get());
             dialog->show();
             return dialog;
         }},
        {"upload preview",
         [this] {
             auto* dialog = new CUploadPreviewDialog(CUploadPreviewDialog::Kind::Upload,
                                                     {"Upload", "1 speed dial changed", "Upload?", "Upload", "Cancel"},
                                                     {"speed dial 001 changed"},
                                                     window.get());
             dialog->show();
             return dialog;
         }},
        {"restore backup",
         [this] {
             auto* dialog = new CRestoreBackupDialog(
                 {},
                 [](std::size_t) { return CSessionPreview{}; },
                 {"Restore Backup",
                  "All settings",
                  "Date",
                  "Time",
                  "Changes",
                  "Unreadable",
                  "None",
                  "Compare",
                  "Restore",
                  "Cancel"},
                 window.get());
             dialog->show();
             return dialog;
         }},
        {"contacts import",
         [this] {
             auto* dialog = new CContactsImportDialog(
                 CContactsOptions{},
                 [](const CContactsOptions&) { return CContactsPreview{}; },
                 [this](std::string_view key) { return QString::fromStdU16String(messenger.Text(key)); },
                 window.get());
             dialog->show();
             return dialog;
         }},
    };
    // The printer choice of File ▸ Print is the toolkit's own dialog; its buttons take Return as well.
    QPrinter printer;
    const auto printed = PressEachButton(
        "printer choice",
        [this, &printer] {
            auto* dialog = new QPrintDialog(&printer, window.get());
            dialog->setObjectName("printDialog");
            dialog->show();
            return static_cast<QDialog*>(dialog);
        },
        &Delete);
    EXPECT_FALSE(printed.empty());
    for (const auto& [what, open] : dialogs) {
        const auto pressed = PressEachButton(what, open, &Delete);
        EXPECT_FALSE(pressed.empty()) << what;
    }
    EXPECT_EQ(m_password, std::u16string(kFactoryServiceManPassword)) << "Return on Cancel changed no password";
}

// The SNMP dialog opened from its check on the Network page: a community typed, Return on the
// focused Cancel stores nothing, Return on the focused OK stores it; the device tells.
TEST_F(KeyboardButtons, ReturnOnTheFocusedCancelOfTheSnmpDialogStoresNothing)
{
    ConnectAndDownload();
    ASSERT_TRUE(window->EnterServiceMan(u"qorlex"));
    const std::u16string before = context.store.GetItemText("SNMP_SET_DLG", "SNMP_READ_COMMUNITY_NAME");
    ASSERT_NE(before, u"typed");
    ASSERT_TRUE(window->SelectPage("TCP_IP_SET_DLG"));
    auto* snmp = window->findChild<QCheckBox*>("snmpCheck");
    ASSERT_NE(snmp, nullptr);
    ASSERT_TRUE(snmp->isEnabled());
    ASSERT_TRUE(FocusOn(snmp));
    if (snmp->isChecked()) {
        PressOnFocus(Qt::Key_Space); // unchecking opens nothing
        ASSERT_FALSE(snmp->isChecked());
    }

    auto typeThenPress = [this](const char* button, bool* worked) {
        WhenShown("CSnmpSetDlg", [this, button, worked](QDialog& dialog) {
            auto* community = dialog.findChild<CMyEdit*>("readCommunityEdit");
            if (community == nullptr || !FocusOn(community)) {
                dialog.reject();
                return;
            }
            community->selectAll();
            QTest::keyClicks(community, "typed");
            if (!FocusOn(dialog.findChild<QPushButton*>(button))) {
                dialog.reject();
                return;
            }
            PressOnFocus(Qt::Key_Return);
            *worked = !dialog.isVisible();
            if (dialog.isVisible()) {
                dialog.reject();
            }
        });
    };
    bool cancelled = false;
    typeThenPress("cancelButton", &cancelled);
    PressOnFocus(Qt::Key_Space);
    ASSERT_TRUE(cancelled) << "the SNMP dialog opened and Return on Cancel closed it";
    EXPECT_FALSE(snmp->isChecked()) << "Cancel takes the check back";
    EXPECT_EQ(context.store.GetItemText("SNMP_SET_DLG", "SNMP_READ_COMMUNITY_NAME"), before);
    EXPECT_NE(UploadFromToolbar(true), "");
    EXPECT_EQ(DeviceMemory()->store.GetItemText("SNMP_SET_DLG", "SNMP_READ_COMMUNITY_NAME"), before);

    bool accepted = false;
    typeThenPress("okButton", &accepted);
    ASSERT_TRUE(FocusOn(snmp));
    PressOnFocus(Qt::Key_Space);
    ASSERT_TRUE(accepted) << "Return on the focused OK closed it";
    EXPECT_TRUE(snmp->isChecked());
    EXPECT_NE(UploadFromToolbar(true), "");
    EXPECT_EQ(DeviceMemory()->store.GetItemText("SNMP_SET_DLG", "SNMP_READ_COMMUNITY_NAME"), u"typed");

    // A push button on the page itself takes Return too: Raw Port opens its dialog.
    ActivateWindow();
    const auto rawPort = WhenShown("CRawPortSetDlg", [](QDialog& dialog) { dialog.reject(); });
    ASSERT_TRUE(FocusOn(window->findChild<QPushButton*>("rawPortButton")));
    PressOnFocus(Qt::Key_Return);
    EXPECT_TRUE(*rawPort) << "Return on the page's focused Raw Port button opened its dialog";
}

// Device ▸ Change Service-Man Password from the keyboard: Return, then Space, on the focused
// Cancel keep the password in the preferences file; Return on the focused OK changes it.
TEST_F(KeyboardButtons, CancelOfChangePasswordByKeyKeepsThePasswordFile)
{
    ASSERT_TRUE(window->EnterServiceMan(u"qorlex"));
    auto change = [this](const char* button, Qt::Key key, bool* closed) {
        const auto worked = WhenShown("CChangePassDlg", [this, button, key, closed](QDialog& dialog) {
            for (const auto& [field, text] : {std::pair{"currentPasswordEdit", "qorlex"},
                                              std::pair{"newPasswordEdit", "fresh123"},
                                              std::pair{"retypePasswordEdit", "fresh123"}}) {
                auto* edit = dialog.findChild<CMyEdit*>(field);
                if (edit == nullptr || !FocusOn(edit)) {
                    dialog.reject();
                    return;
                }
                QTest::keyClicks(edit, text);
            }
            if (!FocusOn(dialog.findChild<QPushButton*>(button))) {
                dialog.reject();
                return;
            }
            PressOnFocus(key);
            *closed = !dialog.isVisible();
            if (dialog.isVisible()) {
                dialog.reject();
            }
        });
        ChooseMenu(Qt::Key_D, "deviceMenu", Qt::Key_P);
        EXPECT_TRUE(QTest::qWaitFor([worked] { return *worked; })) << "the dialog opened from the menu";
    };
    auto stored = [this] {
        return ReadServiceManPassword(CQSettingsPreferences(PreferencesKeyPath(*context.profile)));
    };

    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Space}) {
        bool closed = false;
        change("cancelButton", key, &closed);
        EXPECT_TRUE(closed) << "the dialog opened from the menu and the key on Cancel closed it";
        EXPECT_EQ(stored(), std::u16string(kFactoryServiceManPassword));
        EXPECT_EQ(window->Session().ServiceManPassword(), std::u16string(kFactoryServiceManPassword));
    }
    bool closed = false;
    change("okButton", Qt::Key_Return, &closed);
    EXPECT_TRUE(closed);
    EXPECT_EQ(stored(), u"fresh123");
    WriteServiceManPassword(preferences, kFactoryServiceManPassword);
}

// The fax editor opened from the list with the keyboard: Return on the focused Details… opens the
// details dialog and leaves the editor open; Return in a field presses OK, the default.
TEST_F(KeyboardButtons, ReturnOnTheFocusedDetailsOpensTheDetailsDialog)
{
    ConnectAndDownload();
    SelectTreeItem(kDialFaxMailNode);
    ASSERT_TRUE(FocusOn(window->findChild<QPushButton*>("dialNewButton")));
    const CAddressBook before = context.device.book;
    bool detailsShown = false;
    bool editorStayed = false;
    WhenShown("entryDialog", [this, &detailsShown, &editorStayed](QDialog& editor) {
        WhenShown("faxDetailsDialog", [&detailsShown](QDialog& details) {
            detailsShown = true;
            QTest::keyClick(&details, Qt::Key_Escape);
            if (details.isVisible()) {
                details.reject();
            }
        });
        if (!FocusOn(editor.findChild<QPushButton*>("detailsButton"))) {
            editor.reject();
            return;
        }
        PressOnFocus(Qt::Key_Return);
        editorStayed = editor.isVisible();
        editor.reject();
    });
    PressOnFocus(Qt::Key_Return); // on New Registration
    EXPECT_TRUE(detailsShown);
    EXPECT_TRUE(editorStayed) << "Details… did not save and close the editor";
    EXPECT_EQ(context.device.book, before);
}

} // namespace
} // namespace qzb
