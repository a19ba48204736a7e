#include "pages/command_states.h"
#include "pages/dial_commands.h"
#include "tests/ui/keyboard_fixture.h"

#include <gtest/gtest.h>

#include <QKeySequence>
#include <QToolBar>

#include <map>
#include <set>

namespace qzb {
namespace {

// The device commands from the menu bar and their keys.
class KeyboardDeviceMenu : public CKeyboardFixture
{
protected:
    QAction* DeviceAction(const char* name) const
    {
        auto* menu = window->findChild<QMenu*>("deviceMenu");
        return menu != nullptr ? menu->findChild<QAction*>(name) : nullptr;
    }

    static QChar Mnemonic(const QString& text)
    {
        for (qsizetype i = 0; i + 1 < text.size(); ++i) {
            if (text[i] == '&') {
                if (text[i + 1] != '&') {
                    return text[i + 1].toLower();
                }
                ++i;
            }
        }
        return {};
    }
};

TEST_F(KeyboardDeviceMenu, TheDeviceMenuHoldsTheDeviceCommandsInTheToolbarsStates)
{
    auto* menu = window->findChild<QMenu*>("deviceMenu");
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->title(), "&Device");
    const std::map<std::uint32_t, const char*> entries = {{kCmdConnect, "deviceConnectAction"},
                                                          {kCmdDisconnect, "deviceDisconnectAction"},
                                                          {kCmdDownload, "deviceDownloadAction"},
                                                          {kCmdUpload, "deviceUploadAction"}};
    auto agree = [&](const char* when) {
        for (const auto& [command, name] : entries) {
            QAction* entry = DeviceAction(name);
            ASSERT_NE(entry, nullptr) << name;
            EXPECT_TRUE(menu->actions().contains(entry)) << name;
            EXPECT_EQ(entry->isEnabled(), Enabled(command)) << name << " " << when;
            EXPECT_EQ(entry->isVisible(), window->CommandAction(command)->isVisible()) << name << " " << when;
        }
    };
    agree("off-line");
    EXPECT_TRUE(DeviceAction("deviceConnectAction")->isEnabled());
    EXPECT_FALSE(DeviceAction("deviceUploadAction")->isEnabled());
    EXPECT_FALSE(DeviceAction("deviceChangePasswordAction")->isVisible()) << "service-man mode's";
    ConnectAndDownload();
    agree("connected with data");
    EXPECT_TRUE(DeviceAction("deviceUploadAction")->isEnabled());
    ASSERT_TRUE(window->EnterServiceMan(u"qorlex"));
    EXPECT_TRUE(DeviceAction("deviceChangePasswordAction")->isVisible());
    EXPECT_TRUE(DeviceAction("deviceChangePasswordAction")->isEnabled());

    // Every command of the toolbar has a visible, enabled menu entry running the same command.
    auto* toolbar = window->findChild<QToolBar*>("commandToolbar");
    std::set<QString> menuTexts;
    for (QAction* top : window->menuBar()->actions()) {
        for (QAction* entry : top->menu()->actions()) {
            if (!entry->isSeparator() && entry->isVisible()) {
                menuTexts.insert(QString(entry->text()).remove('&').remove("...").remove(QChar(0x2026)));
            }
        }
    }
    for (QAction* button : toolbar->actions()) {
        if (!button->isSeparator() && button->isVisible()) {
            const bool listed = std::any_of(menuTexts.begin(), menuTexts.end(), [button](const QString& text) {
                return text.contains(button->text(), Qt::CaseInsensitive);
            });
            EXPECT_TRUE(listed) << button->text().toStdString() << " has no menu entry";
        }
    }
}

// Each menu's entries and the menu bar's titles have a mnemonic of their own, and no two keys of
// the window are the same or one a text field takes for its own editing.
TEST_F(KeyboardDeviceMenu, MnemonicsAndShortcutsClashWithNothing)
{
    ConnectAndDownload();
    ASSERT_TRUE(window->EnterServiceMan(u"qorlex"));
    std::set<QChar> titles;
    for (QAction* top : window->menuBar()->actions()) {
        const QChar title = Mnemonic(top->text());
        ASSERT_FALSE(title.isNull()) << top->text().toStdString();
        EXPECT_TRUE(titles.insert(title).second) << top->text().toStdString();
        std::set<QChar> mnemonics;
        for (QAction* entry : top->menu()->actions()) {
            if (entry->isSeparator()) {
                continue;
            }
            const QChar mnemonic = Mnemonic(entry->text());
            EXPECT_FALSE(mnemonic.isNull()) << entry->text().toStdString();
            EXPECT_TRUE(mnemonics.insert(mnemonic).second) << entry->text().toStdString();
        }
    }

    std::map<QString, QString> keys;
    for (QAction* action : window->findChildren<QAction*>()) {
        for (const QKeySequence& key : action->shortcuts()) {
            const QString text = key.toString(QKeySequence::PortableText);
            const auto [at, fresh] = keys.emplace(text, action->objectName());
            EXPECT_TRUE(fresh) << text.toStdString() << ": " << at->second.toStdString() << " and "
                               << action->objectName().toStdString();
        }
    }
    for (const char* name :
         {"deviceConnectAction", "deviceDisconnectAction", "deviceUploadAction", "deviceDownloadAction"}) {
        ASSERT_NE(DeviceAction(name), nullptr) << name;
        EXPECT_FALSE(DeviceAction(name)->shortcut().isEmpty()) << name;
    }
    const QKeySequence::StandardKey editing[] = {
        QKeySequence::Undo,
        QKeySequence::Redo,
        QKeySequence::Cut,
        QKeySequence::Copy,
        QKeySequence::Paste,
        QKeySequence::SelectAll,
        QKeySequence::Deselect,
        QKeySequence::Delete,
        QKeySequence::Backspace,
        QKeySequence::DeleteStartOfWord,
        QKeySequence::DeleteEndOfWord,
        QKeySequence::DeleteEndOfLine,
        QKeySequence::DeleteCompleteLine,
        QKeySequence::MoveToStartOfLine,
        QKeySequence::MoveToEndOfLine,
        QKeySequence::MoveToStartOfDocument,
        QKeySequence::MoveToEndOfDocument,
        QKeySequence::InsertParagraphSeparator,
        QKeySequence::InsertLineSeparator,
        QKeySequence::Cancel,
        QKeySequence::Close,
        QKeySequence::SaveAs,
        QKeySequence::FullScreen,
        QKeySequence::Find,
    };
    for (const char* name :
         {"deviceConnectAction", "deviceDisconnectAction", "deviceUploadAction", "deviceDownloadAction"}) {
        const QKeySequence key = DeviceAction(name)->shortcut();
        for (const QKeySequence::StandardKey standard : editing) {
            EXPECT_FALSE(QKeySequence::keyBindings(standard).contains(key))
                << name << " " << key.toString().toStdString() << " is standard key " << standard;
        }
    }
}

// Connect and Download by their keys, a speed dial deleted with Del on its row, and the upload
// sent by its key and by Return on the preview's focused Upload, which is not the default button.
TEST_F(KeyboardDeviceMenu, AnUploadFromTheKeyboardOnlyReachesTheDevice)
{
    QTest::keyClick(window.get(), Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    ASSERT_TRUE(window->StateWord() & kStateOnline);
    ChooseMenu(Qt::Key_D, "deviceMenu", Qt::Key_W);
    ASSERT_TRUE(window->StateWord() & kStateDeviceData);
    ASSERT_NE(context.device.book.FindFaxMailEntry(1), nullptr);
    ASSERT_NE(DeviceMemory()->device.book.FindFaxMailEntry(1), nullptr);

    // The tree's type-ahead finds the list's node; Tab walks on to the list.
    ASSERT_TRUE(FocusOn(window->Tree()));
    QTest::keyClicks(Focused(), "Fax");
    ASSERT_EQ(TreeValue(), kDialFaxMailNode);
    auto* list = window->findChild<QTreeWidget*>("dialEntryList");
    for (int tab = 0; tab < 12 && !list->hasFocus(); ++tab) {
        PressOnFocus(Qt::Key_Tab);
    }
    ASSERT_TRUE(list->hasFocus()) << "Tab reaches the entry list";
    PressOnFocus(Qt::Key_Space);
    ASSERT_EQ(TreeValue(), SpeedDialSlotItem(1)) << "Space chooses the row the list opened on";
    PressOnFocus(Qt::Key_Delete);
    ASSERT_EQ(context.device.book.FindFaxMailEntry(1), nullptr);
    EXPECT_TRUE(list->hasFocus());

    bool sent = false;
    CQtMessagePresenter::SetNextAnswer(kAnswerOk); // the question whether to use the PC's data
    WhenShown("uploadPreviewDialog", [this, &sent](QDialog& preview) {
        auto* upload = preview.findChild<QPushButton*>("previewUploadButton");
        if (!FocusOn(upload)) {
            preview.reject();
            return;
        }
        PressOnFocus(Qt::Key_Return);
        sent = preview.result() == QDialog::Accepted;
        if (preview.isVisible()) {
            preview.reject();
        }
    });
    PressOnFocus(Qt::Key_Return, Qt::ControlModifier);
    EXPECT_TRUE(sent);
    EXPECT_EQ(DeviceMemory()->device.book.FindFaxMailEntry(1), nullptr) << "the device lost speed dial 001";

    ActivateWindow();
    QTest::keyClick(window.get(), Qt::Key_D, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_FALSE(window->StateWord() & kStateOnline);
}

// The rows of a dial registration list lead to their items in the tree.
class KeyboardEntryList : public CKeyboardFixture
{
protected:
    QTreeWidget* List() const { return window->findChild<QTreeWidget*>("dialEntryList"); }

    QTreeWidgetItem* Row(std::int32_t number) const
    {
        QTreeWidget* list = List();
        for (int row = 0; row < list->topLevelItemCount(); ++row) {
            if (list->topLevelItem(row)->text(0).toInt() == number) {
                return list->topLevelItem(row);
            }
        }
        return nullptr;
    }

    void ClickRow(std::int32_t number, bool twice = false)
    {
        QTreeWidget* list = List();
        QTreeWidgetItem* row = Row(number);
        ASSERT_NE(row, nullptr) << number;
        list->scrollToItem(row);
        const QPoint at = list->visualItemRect(row).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        if (twice) {
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
        }
    }

    QPushButton* Button(const char* name) const { return window->findChild<QPushButton*>(name); }
};

TEST_F(KeyboardEntryList, AClickedRowSelectsItsSlotAndEnablesEditWhileTheListStays)
{
    ConnectAndDownload();
    const std::int32_t registered = context.device.book.FaxMailEntries().front().number;
    std::int32_t free = 1;
    while (context.device.book.FindFaxMailEntry(free) != nullptr) {
        ++free;
    }
    SelectTreeItem(kDialFaxMailNode);
    ASSERT_EQ(List()->topLevelItemCount(), 220);
    EXPECT_FALSE(Button("dialEditButton")->isEnabled());

    ClickRow(registered);
    EXPECT_EQ(TreeValue(), SpeedDialSlotItem(registered));
    EXPECT_EQ(List()->topLevelItemCount(), 220) << "the list stays to move on in";
    EXPECT_TRUE(Button("dialEditButton")->isEnabled());
    EXPECT_TRUE(Button("dialDeleteButton")->isEnabled());
    EXPECT_FALSE(Button("dialNewButton")->isEnabled());
    EXPECT_TRUE(window->findChild<QWidget*>("groupCheckList")->isEnabled()) << "the row's groups show";
    EXPECT_TRUE(window->findChild<QWidget*>("dialFaxMailRadio")->isEnabled()) << "as on the list's node";

    ClickRow(free);
    EXPECT_EQ(TreeValue(), SpeedDialSlotItem(free));
    EXPECT_FALSE(Button("dialEditButton")->isEnabled());
    EXPECT_TRUE(Button("dialNewButton")->isEnabled());

    // The arrow keys move on through the rows, the tree following.
    ASSERT_TRUE(FocusOn(List()));
    List()->setCurrentItem(Row(registered));
    PressOnFocus(Qt::Key_Down);
    EXPECT_EQ(TreeValue(), SpeedDialSlotItem(registered + 1));
    PressOnFocus(Qt::Key_Up);
    EXPECT_EQ(TreeValue(), SpeedDialSlotItem(registered));

    // The tree's own choice of a slot still shows that slot's list.
    SelectTreeItem(SpeedDialSlotItem(registered));
    SelectTreeItem(kDialFaxMailNode);
    SelectTreeItem(SpeedDialSlotItem(registered));
    EXPECT_EQ(List()->topLevelItemCount(), 1);
}

TEST_F(KeyboardEntryList, ADoubleClickOrReturnOnARowOpensItsEditor)
{
    ConnectAndDownload();
    const CFaxMailEntry entry = context.device.book.FaxMailEntries().front();
    SelectTreeItem(kDialFaxMailNode);
    QStringList titles;
    auto noteAndCancel = [this, &titles] {
        WhenShown("entryDialog", [&titles](QDialog& editor) {
            titles.push_back(editor.windowTitle());
            QTest::keyClick(&editor, Qt::Key_Escape);
            if (editor.isVisible()) {
                editor.reject();
            }
        });
    };
    noteAndCancel();
    ClickRow(entry.number, true);
    ASSERT_EQ(titles.size(), 1) << "a double click opened the editor";
    EXPECT_TRUE(titles[0].contains(QString::asprintf("%03d", entry.number))) << titles[0].toStdString();

    // Return on a free row opens the editor of a new entry there; OK stores it.
    std::int32_t free = 1;
    while (context.device.book.FindFaxMailEntry(free) != nullptr) {
        ++free;
    }
    ASSERT_TRUE(FocusOn(List()));
    List()->setCurrentItem(Row(free));
    ASSERT_EQ(TreeValue(), SpeedDialSlotItem(free));
    bool stored = false;
    WhenShown("entryDialog", [this, &stored](QDialog& editor) {
        auto* name = editor.findChild<QLineEdit*>("nameField");
        auto* number = editor.findChild<QLineEdit*>("numberField");
        if (name == nullptr || number == nullptr || !FocusOn(name)) {
            editor.reject();
            return;
        }
        QTest::keyClicks(name, "Keys");
        if (!FocusOn(number)) {
            editor.reject();
            return;
        }
        QTest::keyClicks(number, "0123");
        PressOnFocus(Qt::Key_Return); // in a field: the default button, OK
        stored = !editor.isVisible() && editor.result() == QDialog::Accepted;
        if (editor.isVisible()) {
            editor.reject();
        }
    });
    PressOnFocus(Qt::Key_Return);
    ASSERT_TRUE(stored);
    ASSERT_NE(context.device.book.FindFaxMailEntry(free), nullptr);
    EXPECT_EQ(List()->topLevelItemCount(), 220);
    EXPECT_EQ(TreeValue(), SpeedDialSlotItem(free));
    EXPECT_NE(UploadFromToolbar(true), "No changes");
    const auto memory = DeviceMemory();
    const CFaxMailEntry* sent = memory->device.book.FindFaxMailEntry(free);
    ASSERT_NE(sent, nullptr);
    EXPECT_EQ(sent->name.View(), "Keys");
}

TEST_F(KeyboardEntryList, DelOnAMemberRowRemovesItFromItsGroup)
{
    ConnectAndDownload();
    const CGroupEntry group = context.device.book.Groups().front();
    ASSERT_GE(group.members.size(), 2u);
    const std::int32_t member = group.members.front();
    SelectTreeItem(GroupItem(group.number));
    ASSERT_EQ(List()->topLevelItemCount(), static_cast<int>(group.members.size()));
    ClickRow(member);
    EXPECT_EQ(TreeValue(), MemberItem(group.number, member));
    EXPECT_TRUE(Button("dialEditButton")->isEnabled());
    ASSERT_TRUE(FocusOn(List()));
    PressOnFocus(Qt::Key_Delete);
    const CGroupEntry* left = context.device.book.FindGroup(group.number);
    ASSERT_NE(left, nullptr);
    EXPECT_EQ(std::count(left->members.begin(), left->members.end(), member), 0);
    EXPECT_EQ(TreeValue(), GroupItem(group.number)) << "the member's item went; its group shows";
    EXPECT_EQ(List()->topLevelItemCount(), static_cast<int>(group.members.size()) - 1);
    EXPECT_NE(UploadFromToolbar(true), "No changes");
    const auto memory = DeviceMemory();
    const CGroupEntry* sent = memory->device.book.FindGroup(group.number);
    ASSERT_NE(sent, nullptr);
    EXPECT_EQ(std::count(sent->members.begin(), sent->members.end(), member), 0);
}

} // namespace
} // namespace qzb
