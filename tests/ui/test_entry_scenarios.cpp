#include "tests/ui/entry_scenario.h"
#include "tests/ui/window_fixture.h"

#include "addressbook/address_book.h"
#include "app/english_texts.h"
#include "model/panel_code.h"
#include "ui/main/upload_preview_dialog.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <functional>
#include <string>

namespace qzb {
namespace {

class EntryScenario : public CEntryScenario
{
};

TEST_F(EntryScenario, AnEmailSpeedDialKeepsItsKind)
{
    ClickTreeItem(kFaxMailNode);
    InDialog(Button("dialNewButton"), [&](QDialog& editor) {
        ComboDown(editor, "kindField");
        EXPECT_FALSE(In<QLineEdit>(editor, "numberField")->isVisible());
        Type(editor, "nameField", "Mailbox");
        Type(editor, "addressField", "bob@example.com");
        ClickOk(editor);
    });
    const auto memory = UploadAndRead();
    const CFaxMailEntry* entry = Named(memory->device.book, "Mailbox");
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->kind, kKindMail);
    EXPECT_EQ(entry->address.View(), "bob@example.com");
}

TEST_F(EntryScenario, BatchTimesOfTwoDigitHoursAreTyped)
{
    NewFax("Noon", "0123", "12", "45");
    NewFax("Late", "0456", "23", "59");
    NewFax("Early", "0789", "7", "05");
    const auto memory = UploadAndRead();
    const CAddressBook& book = memory->device.book;
    ASSERT_NE(Named(book, "Noon"), nullptr);
    EXPECT_EQ(Named(book, "Noon")->batchHour, 12);
    EXPECT_EQ(Named(book, "Noon")->batchMinute, 45);
    ASSERT_NE(Named(book, "Late"), nullptr);
    EXPECT_EQ(Named(book, "Late")->batchHour, 23);
    EXPECT_EQ(Named(book, "Late")->batchMinute, 59);
    ASSERT_NE(Named(book, "Early"), nullptr);
    EXPECT_EQ(Named(book, "Early")->batchHour, 7) << "a single hour digit is padded when the field is left";
    EXPECT_EQ(Named(book, "Early")->batchMinute, 5);
}

TEST_F(EntryScenario, FtpAndSmbDestinationsWithAPrivateAccount)
{
    ClickTreeItem(kScanNode);
    InDialog(Button("dialNewButton"), [&](QDialog& editor) {
        Type(editor, "nameField", "FtpDrop");
        Type(editor, "serverField", "ftp.example.com");
        ComboDown(editor, "accountField");
        Type(editor, "userField", "scanner");
        Type(editor, "passwordField", "s3cret");
        Type(editor, "confirmField", "s3cret");
        ClickOk(editor);
    });
    ClickTreeItem(kScanNode);
    InDialog(Button("dialNewButton"), [&](QDialog& editor) {
        const QString ftpLabel = In<QLineEdit>(editor, "serverField")->accessibleName();
        ComboDown(editor, "protocolField");
        EXPECT_NE(In<QLineEdit>(editor, "serverField")->accessibleName(), ftpLabel);
        EXPECT_EQ(
            In<QLineEdit>(editor, "serverField")->accessibleName(),
            QString::fromStdU16String(TranslatedText(&context.strings, "STR_DLG_RSDSTS_TXT_DESTINATION_ADDRESS")));
        Type(editor, "nameField", "SmbShare");
        Type(editor, "serverField", "\\\\host\\scans");
        Type(editor, "directoryField", "in");
        ComboDown(editor, "accountField");
        Type(editor, "userField", "office");
        Type(editor, "passwordField", "pw");
        Type(editor, "confirmField", "pw");
        ClickOk(editor);
    });
    const auto memory = UploadAndRead();
    const CScanEntry* ftp = NamedScan(memory->device.book, "FtpDrop");
    ASSERT_NE(ftp, nullptr);
    EXPECT_EQ(ftp->protocol, kProtocolFtp);
    EXPECT_EQ(ftp->account, kAccountPrivateSite);
    EXPECT_EQ(ftp->userName, u"scanner");
    EXPECT_EQ(ftp->password, u"s3cret");
    const CScanEntry* smb = NamedScan(memory->device.book, "SmbShare");
    ASSERT_NE(smb, nullptr);
    EXPECT_EQ(smb->protocol, kProtocolSmb);
    EXPECT_EQ(smb->serverAddress, u"\\\\host\\scans") << "the share path keeps its backslashes";
    EXPECT_EQ(smb->account, kAccountPrivateSite);
    EXPECT_EQ(smb->userName, u"office");
}

TEST_F(EntryScenario, AGroupGainsMembersFromTheEditorsCheckList)
{
    for (const char* name : {"Alpha", "Beta"}) {
        ClickTreeItem(kFaxMailNode);
        InDialog(Button("dialNewButton"), [&](QDialog& editor) {
            Type(editor, "nameField", name);
            Type(editor, "numberField", "555");
            auto* groups = In<QListWidget>(editor, "groupsField");
            // Group 20: the simulator's book leaves it free.
            QListWidgetItem* row = groups->item(19);
            groups->scrollToBottom();
            QTest::mouseClick(groups->viewport(), Qt::LeftButton, {}, groups->visualItemRect(row).center());
            QTest::keyClick(groups, Qt::Key_Space);
            EXPECT_EQ(row->checkState(), Qt::Checked);
            ClickOk(editor);
        });
    }
    // The group's name comes from its own editor.
    ClickTreeItem(GroupItem(20));
    InDialog(Button("dialEditButton"), [&](QDialog& editor) {
        Type(editor, "nameField", "Team");
        QTest::keyClick(In<QLineEdit>(editor, "nameField"), Qt::Key_Return);
    });
    const auto memory = UploadAndRead();
    const CAddressBook& book = memory->device.book;
    const CGroupEntry* group = book.FindGroup(20);
    ASSERT_NE(group, nullptr);
    ASSERT_NE(Named(book, "Alpha"), nullptr);
    ASSERT_NE(Named(book, "Beta"), nullptr);
    EXPECT_EQ(group->members, (std::vector<std::int32_t>{Named(book, "Alpha")->number, Named(book, "Beta")->number}));
    EXPECT_EQ(group->name.View(), "Team");
}

TEST_F(EntryScenario, AFavouritePointsToTheChosenGroup)
{
    const auto before = DeviceMemory();
    const std::size_t favourites = before->device.book.Favourites().size();
    ClickTreeItem(kFavouriteNode);
    InDialog(Button("dialNewButton"), [&](QDialog& editor) {
        auto* group = In<QRadioButton>(editor, "groupField");
        QTest::mouseClick(group, Qt::LeftButton, {}, QPoint(6, group->height() / 2));
        auto* list = In<QTreeWidget>(editor, "favouriteList");
        ASSERT_GT(list->topLevelItemCount(), 0);
        ClickOk(editor);
    });
    const auto memory = UploadAndRead();
    const auto& added = memory->device.book.Favourites();
    ASSERT_EQ(added.size(), favourites + 1);
    EXPECT_EQ(added.back().targetKind, kTargetGroup);
}

TEST_F(EntryScenario, AnEntryIsRenamedAndAnotherDeleted)
{
    const auto before = DeviceMemory();
    const auto& entries = before->device.book.FaxMailEntries();
    ASSERT_GE(entries.size(), 2u);
    const std::int32_t first = entries[0].number;
    const std::int32_t second = entries[1].number;
    const std::string address(entries[0].address.View());

    ClickTreeItem(SlotItem(first));
    InDialog(Button("dialEditButton"), [&](QDialog& editor) {
        Type(editor, "nameField", "Renamed");
        ClickOk(editor);
    });
    ClickTreeItem(SlotItem(second));
    QTest::mouseClick(Button("dialDeleteButton"), Qt::LeftButton);
    const auto memory = UploadAndRead();
    const CFaxMailEntry* renamed = memory->device.book.FindFaxMailEntry(first);
    ASSERT_NE(renamed, nullptr);
    EXPECT_EQ(renamed->name.View(), "Renamed");
    EXPECT_EQ(renamed->address.View(), address);
    EXPECT_EQ(memory->device.book.FindFaxMailEntry(second), nullptr);
}

TEST_F(EntryScenario, AFaxEntryIsMadeWithTheKeyboardAlone)
{
    // Down the tree to the fax/e-mail node, opening the nodes on the way.
    for (int step = 0; step < 40 && window->focusWidget() != Tree(); ++step) {
        QTest::keyClick(window->focusWidget() ? window->focusWidget() : window.get(), Qt::Key_Tab);
    }
    ASSERT_EQ(window->focusWidget(), Tree());
    QTest::keyClick(Tree(), Qt::Key_Home);
    const QTreeWidgetItem* target = TreeItem(kFaxMailNode);
    for (int step = 0; step < 200 && Tree()->currentItem() != target; ++step) {
        QTreeWidgetItem* current = Tree()->currentItem();
        bool ancestor = false;
        for (const QTreeWidgetItem* up = target->parent(); up != nullptr; up = up->parent()) {
            ancestor = ancestor || up == current;
        }
        QTest::keyClick(Tree(), ancestor && !current->isExpanded() ? Qt::Key_Right : Qt::Key_Down);
    }
    ASSERT_EQ(Tree()->currentItem(), target);
    QPushButton* newButton = Button("dialNewButton");
    for (int step = 0; step < 40 && window->focusWidget() != newButton; ++step) {
        QTest::keyClick(window->focusWidget(), Qt::Key_Tab);
    }
    ASSERT_EQ(window->focusWidget(), newButton);

    bool typed = false;
    QTimer::singleShot(0, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        (void)QTest::qWaitForWindowActive(dialog);
        ASSERT_NE(dialog->focusWidget(), nullptr);
        EXPECT_EQ(dialog->focusWidget()->objectName(), "kindField") << "the first field takes the focus";
        QTest::keyClick(dialog->focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(dialog->focusWidget()->objectName(), "nameField");
        QTest::keyClicks(dialog->focusWidget(), "Keys");
        QTest::keyClick(dialog->focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(dialog->focusWidget()->objectName(), "numberField");
        QTest::keyClicks(dialog->focusWidget(), "0999");
        QTest::keyClick(dialog->focusWidget(), Qt::Key_Return);
        typed = true;
        if (QWidget* open = QApplication::activeModalWidget()) {
            ADD_FAILURE() << "Enter left the editor open";
            qobject_cast<QDialog*>(open)->reject();
        }
    });
    QTest::keyClick(newButton, Qt::Key_Space);
    ASSERT_TRUE(typed);
    const auto memory = UploadAndRead();
    const CFaxMailEntry* entry = Named(memory->device.book, "Keys");
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->address.View(), "0999");
}

} // namespace
} // namespace qzb
