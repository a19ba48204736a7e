#include "ui/main/entry_dialog.h"

#include "app/app_context.h"
#include "app/english_texts.h"
#include "app/messenger.h"
#include "cli/entry_input.h"
#include "model/model_defaults.h"
#include "model/text_codec.h"
#include "ui/main/qt_message_presenter.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << text.toStdString();
}
QT_END_NAMESPACE

namespace qzb {
namespace {

// One editor reached twice: through its dialog's widgets and through qzbctl's FIELD=VALUE parsing.
class EntryParity : public testing::Test
{
protected:
    EntryParity()
        : context(8314)
        , messenger(context.strings, presenter)
    {
        context.strings.LoadFile(std::filesystem::path(QZB_TEST_DATA_DIR) / StringTableFileName(*context.profile));
        ApplyModelDefaults(context.store, context.modelBit);
        CFaxMailEntry entry;
        entry.number = 3;
        entry.address.Assign("123");
        EXPECT_EQ(start.PutFaxMailEntry(entry), kOk);
        EXPECT_EQ(start.SetGroupMembership(2, 3, true, kKindFax), kOk);
    }

    CEntryEnv Env() const { return {&context.store, &context.strings, context.modelBit}; }

    // The dialog on a copy of the start book; `act` fills it, OK must close it.
    template <class TEditor, class... TArgs>
    CAddressBook ThroughDialog(const std::function<void(CEntryDialog&)>& act, TArgs... args)
    {
        CAddressBook book = start;
        CEntryDialog dialog(std::make_unique<CEntryEditing<TEditor>>(book, args..., Env()), book, context, messenger);
        dialog.show();
        act(dialog);
        QTest::mouseClick(dialog.findChild<QPushButton*>("okButton"), Qt::LeftButton);
        EXPECT_EQ(dialog.result(), QDialog::Accepted) << presenter.Recorded().size();
        return book;
    }

    // The same editor filled as `qzbctl entry set` fills it.
    template <class TEditor, class... TArgs>
    CAddressBook ThroughCli(const std::vector<std::string>& assignments, TArgs... args)
    {
        CAddressBook book = start;
        TEditor editor(book, args..., Env());
        for (const std::string& assignment : assignments) {
            const std::size_t equals = assignment.find('=');
            const CEntryField* field = FindEntryField(editor, assignment.substr(0, equals));
            EXPECT_NE(field, nullptr) << assignment;
            if (field != nullptr) {
                const CEntryInput input = ApplyEntryText(editor, *field, Utf8ToUtf16(assignment.substr(equals + 1)));
                EXPECT_EQ(input.refusal, EntryRefusal::None) << assignment;
                EXPECT_TRUE(input.message.Ok()) << assignment;
            }
        }
        EXPECT_TRUE(editor.Ok(book).Ok());
        return book;
    }

    template <class TWidget>
    static TWidget* Find(QWidget& dialog, const char* name)
    {
        auto* widget = dialog.findChild<TWidget*>(name);
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    static void Type(QWidget& dialog, const char* name, const QString& text)
    {
        auto* edit = Find<QLineEdit>(dialog, name);
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(edit, text);
        QTest::keyClick(edit, Qt::Key_Tab);
    }

    static void ComboKey(QWidget& dialog, const char* name, Qt::Key key, int times = 1)
    {
        auto* combo = Find<QComboBox>(dialog, name);
        for (int i = 0; i < times; ++i) {
            QTest::keyClick(combo, key);
        }
    }

    CQtMessagePresenter presenter;
    CAppContext context;
    CMessenger messenger;
    CAddressBook start;
};

TEST_F(EntryParity, FaxEntryWithDetailsAndGroups)
{
    const CAddressBook window = ThroughDialog<CFaxMailEditor>(
        [&](CEntryDialog& dialog) {
            Type(dialog, "nameField", "Depot");
            Type(dialog, "numberField", "0123P4");
            bool detailed = false;
            QTimer::singleShot(0, [&] {
                auto* details = qobject_cast<QDialog*>(QApplication::activeModalWidget());
                ASSERT_NE(details, nullptr);
                ComboKey(*details, "speedField", Qt::Key_Up, 2);
                QTest::keyClicks(Find<QLineEdit>(*details, "hourField"), "12");
                QTest::keyClicks(Find<QLineEdit>(*details, "minuteField"), "45");
                QTest::mouseClick(Find<QPushButton>(*details, "okButton"), Qt::LeftButton);
                detailed = true;
            });
            QTest::mouseClick(Find<QPushButton>(dialog, "detailsButton"), Qt::LeftButton);
            EXPECT_TRUE(detailed);
            auto* groups = Find<QListWidget>(dialog, "groupsField");
            QTest::mouseClick(groups->viewport(), Qt::LeftButton, {}, groups->visualItemRect(groups->item(4)).center());
            QTest::keyClick(groups, Qt::Key_Space);
        },
        7);
    const CAddressBook cli =
        ThroughCli<CFaxMailEditor>({"name=Depot", "number=0123P4", "speed=1", "batch=12:45", "groups=5"}, 7);
    ASSERT_NE(window.FindFaxMailEntry(7), nullptr);
    EXPECT_EQ(window.FindFaxMailEntry(7)->batchHour, 12);
    EXPECT_EQ(window, cli);
}

TEST_F(EntryParity, EmailEntryLeavesItsFaxGroup)
{
    const CAddressBook window = ThroughDialog<CFaxMailEditor>(
        [&](CEntryDialog& dialog) {
            ComboKey(dialog, "kindField", Qt::Key_Down);
            Type(dialog, "addressField", "desk@example.com");
        },
        3);
    const CAddressBook cli = ThroughCli<CFaxMailEditor>({"kind=email", "address=desk@example.com"}, 3);
    ASSERT_NE(window.FindFaxMailEntry(3), nullptr);
    EXPECT_EQ(window.FindFaxMailEntry(3)->kind, kKindMail);
    EXPECT_EQ(window, cli);
}

TEST_F(EntryParity, SmbDestinationWithAPrivateAccount)
{
    const CAddressBook window = ThroughDialog<CScanEditor>(
        [&](CEntryDialog& dialog) {
            ComboKey(dialog, "protocolField", Qt::Key_Down);
            Type(dialog, "nameField", "Share");
            Type(dialog, "serverField", "\\\\host\\scans");
            Type(dialog, "directoryField", "in");
            ComboKey(dialog, "colourField", Qt::Key_Down);
            ComboKey(dialog, "areaField", Qt::Key_Up);
            ComboKey(dialog, "accountField", Qt::Key_Down);
            Type(dialog, "userField", "office");
            Type(dialog, "passwordField", "pw");
            Type(dialog, "confirmField", "pw");
        },
        230);
    const CAddressBook cli = ThroughCli<CScanEditor>({"protocol=smb",
                                                      "name=Share",
                                                      "server=\\\\host\\scans",
                                                      "directory=in",
                                                      "colour=1",
                                                      "area=3",
                                                      "account=private",
                                                      "user=office",
                                                      "password=pw",
                                                      "confirm=pw"},
                                                     230);
    ASSERT_NE(window.FindScanEntry(230), nullptr);
    EXPECT_EQ(window.FindScanEntry(230)->serverAddress, u"\\\\host\\scans");
    EXPECT_EQ(window.FindScanEntry(230)->account, kAccountPrivateSite);
    EXPECT_EQ(window, cli);
}

TEST_F(EntryParity, GroupNameAndFavourite)
{
    const CAddressBook named =
        ThroughDialog<CGroupNameEditor>([&](CEntryDialog& dialog) { Type(dialog, "nameField", "Sales"); }, 2);
    EXPECT_EQ(named, ThroughCli<CGroupNameEditor>({"name=Sales"}, 2));
    EXPECT_EQ(named.FindGroup(2)->name.View(), "Sales");

    const CAddressBook favourite = ThroughDialog<CFavouriteEditor>(
        [&](CEntryDialog& dialog) {
            auto* group = Find<QRadioButton>(dialog, "groupField");
            QTest::mouseClick(group, Qt::LeftButton, {}, QPoint(6, group->height() / 2));
        },
        4);
    EXPECT_EQ(favourite, ThroughCli<CFavouriteEditor>({"group=2"}, 4));
    ASSERT_EQ(favourite.Favourites().size(), 1u);
    EXPECT_EQ(favourite.Favourites()[0].targetKind, kTargetGroup);
}

// Every input control of every editor is named for a screen reader by its label, and Tab walks
// the fields in the order of the editor's table, then OK and Cancel.
class EntryAccess : public EntryParity
{
protected:
    static void ExpectNamed(QAccessibleInterface* node, const std::string& editor)
    {
        if (node == nullptr) {
            return;
        }
        static const QAccessible::Role kInputs[] = {QAccessible::EditableText,
                                                    QAccessible::ComboBox,
                                                    QAccessible::CheckBox,
                                                    QAccessible::RadioButton,
                                                    QAccessible::List,
                                                    QAccessible::Tree};
        const bool input = std::find(std::begin(kInputs), std::end(kInputs), node->role()) != std::end(kInputs);
        if (input && !node->state().invisible) {
            EXPECT_FALSE(node->text(QAccessible::Name).isEmpty())
                << editor << ": " << node->object()->objectName().toStdString() << " has no accessible name";
        }
        for (int i = 0; i < node->childCount(); ++i) {
            ExpectNamed(node->child(i), editor);
        }
    }

    static void Check(CEntryDialog& dialog, const std::string& editor)
    {
        dialog.show();
        ExpectNamed(QAccessible::queryAccessibleInterface(&dialog), editor);

        // Tab from the first field visits every shown, enabled field in turn.
        std::vector<QString> visited;
        QWidget* focus = dialog.focusWidget();
        ASSERT_NE(focus, nullptr) << editor;
        const QWidget* first = focus;
        for (int step = 0; step < 60; ++step) {
            visited.push_back(focus->objectName());
            QTest::keyClick(focus, Qt::Key_Tab);
            focus = dialog.focusWidget();
            if (focus == first) {
                break;
            }
        }
        ASSERT_EQ(focus, first) << editor << ": Tab never came back to the first field";
        std::vector<QString> fields;
        for (const QString& name : visited) {
            if (name.endsWith("Field")) {
                fields.push_back(name);
            }
        }
        std::vector<QString> inTable;
        for (QWidget* widget : dialog.findChildren<QWidget*>()) {
            const QString name = widget->objectName();
            // A group of radio buttons is one Tab stop, its checked button; the arrows move within it.
            auto* radio = qobject_cast<QRadioButton*>(widget);
            if (name.endsWith("Field") && widget->isVisible() && widget->isEnabled() &&
                widget->focusPolicy() != Qt::NoFocus && (radio == nullptr || radio->isChecked())) {
                inTable.push_back(name);
            }
        }
        EXPECT_EQ(fields, inTable) << editor;
        EXPECT_EQ(visited.back(), "cancelButton") << editor;
    }
};

TEST_F(EntryAccess, EveryEditorFieldIsNamedAndReachedByTab)
{
    CAddressBook book = start;
    {
        CEntryDialog dialog(std::make_unique<CEntryEditing<CFaxMailEditor>>(book, 3, Env()), book, context, messenger);
        Check(dialog, "fax/e-mail");
    }
    {
        CEntryDialog dialog(std::make_unique<CEntryEditing<CScanEditor>>(book, 221, Env()), book, context, messenger);
        ComboKey(dialog, "accountField", Qt::Key_Down);
        Check(dialog, "scan-to-server");
    }
    {
        CEntryDialog dialog(
            std::make_unique<CEntryEditing<CGroupNameEditor>>(book, 2, Env()), book, context, messenger);
        Check(dialog, "group name");
    }
    {
        CEntryDialog dialog(
            std::make_unique<CEntryEditing<CFavouriteEditor>>(book, 1, Env()), book, context, messenger);
        Check(dialog, "favourite");
    }
    {
        CEntryDialog dialog(
            std::make_unique<CFaxDetailsEditing>(CFaxDetails{}, context.store), book, context, messenger);
        Check(dialog, "fax details");
    }
}

// An SMB destination opens with the destination address label and the share path's typing rule.
TEST_F(EntryAccess, AnSmbEntryOpensWithItsOwnServerLabel)
{
    CAddressBook book = start;
    CScanEntry smb;
    smb.number = 240;
    smb.protocol = kProtocolSmb;
    smb.serverAddress = u"\\old";
    smb.directory = u"d";
    ASSERT_EQ(book.PutScanEntry(smb), kOk);
    CEntryDialog dialog(std::make_unique<CEntryEditing<CScanEditor>>(book, 240, Env()), book, context, messenger);
    dialog.show();
    auto* server = Find<QLineEdit>(dialog, "serverField");
    const QString smbLabel =
        QString::fromStdU16String(TranslatedText(&context.strings, "STR_DLG_RSDSTS_TXT_DESTINATION_ADDRESS"));
    EXPECT_EQ(server->accessibleName(), smbLabel);
    bool labelShown = false;
    for (QLabel* text : dialog.findChildren<QLabel*>()) {
        labelShown = labelShown || (text->buddy() == server && text->text() == smbLabel);
    }
    EXPECT_TRUE(labelShown);
    QTest::keyClick(server, Qt::Key_End);
    QTest::keyClicks(server, "\\share");
    EXPECT_TRUE(server->text().endsWith("\\share")) << server->text().toStdString();

    ComboKey(dialog, "protocolField", Qt::Key_Up);
    EXPECT_EQ(server->accessibleName(),
              QString::fromStdU16String(TranslatedText(&context.strings, "STR_DLG_RSDSTS_TXT_FTP_SERVER_ADDRESS")));
}

} // namespace
} // namespace qzb
