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

constexpr std::uint32_t kFavouriteNode = 0x1000001;
constexpr std::uint32_t kFaxMailNode = 0x1000004;
constexpr std::uint32_t kScanNode = 0x1000008;

std::uint32_t SlotItem(std::int32_t number)
{
    return 0x200000u + static_cast<std::uint32_t>(number);
}

std::uint32_t GroupItem(std::int32_t group)
{
    return 0x400000u + static_cast<std::uint32_t>(group) * 256u;
}

// A user's session with the dial registration page: the real window on the simulated device,
// driven with keys and clicks, the result read back from the device's memory after Upload.
class EntryScenario : public CWindowFixture
{
protected:
    void SetUp() override
    {
        // A message nobody expects is told on stderr and fails the step instead of waiting for a click.
        CQtMessagePresenter::SetUnattended(true);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        ASSERT_EQ(window->Connect(), kOk);
        ASSERT_EQ(window->Download(), kOk);
    }

    void TearDown() override { CQtMessagePresenter::SetUnattended(false); }

    QTreeWidget* Tree() const { return window->Tree(); }

    QTreeWidgetItem* TreeItem(std::uint32_t value) const
    {
        for (QTreeWidgetItemIterator it(Tree()); *it != nullptr; ++it) {
            if ((*it)->data(0, Qt::UserRole).toUInt() == value) {
                return *it;
            }
        }
        return nullptr;
    }

    // Clicks the tree item, first opening its ancestors with a click and the Right key each.
    void ClickTreeItem(std::uint32_t value)
    {
        QTreeWidgetItem* item = TreeItem(value);
        ASSERT_NE(item, nullptr) << std::hex << value;
        std::vector<QTreeWidgetItem*> path;
        for (QTreeWidgetItem* up = item->parent(); up != nullptr; up = up->parent()) {
            path.insert(path.begin(), up);
        }
        for (QTreeWidgetItem* ancestor : path) {
            if (!ancestor->isExpanded()) {
                ClickVisible(ancestor);
                QTest::keyClick(Tree(), Qt::Key_Right);
                ASSERT_TRUE(ancestor->isExpanded()) << ancestor->text(0).toStdString();
            }
        }
        ClickVisible(item);
        ASSERT_EQ(Tree()->currentItem(), item);
    }

    void ClickVisible(QTreeWidgetItem* item)
    {
        // Scrolling the list with the wheel would do as well; the keys reach any row of an open node.
        QRect rect = Tree()->visualItemRect(item);
        for (int page = 0; page < 100 && !Tree()->viewport()->rect().contains(rect.center()); ++page) {
            const bool below = rect.top() >= Tree()->viewport()->height() || rect.isEmpty();
            QTest::keyClick(Tree(), below ? Qt::Key_PageDown : Qt::Key_PageUp);
            rect = Tree()->visualItemRect(item);
        }
        QTest::mouseClick(Tree()->viewport(), Qt::LeftButton, {}, rect.center());
    }

    QPushButton* Button(const char* name) const { return window->findChild<QPushButton*>(name); }

    // Clicks the button and acts in the modal dialog it opens; the dialog is closed afterwards
    // when the actions left it open.
    void InDialog(QAbstractButton* opener, const std::function<void(QDialog&)>& act)
    {
        ASSERT_NE(opener, nullptr);
        ASSERT_TRUE(opener->isEnabled()) << opener->objectName().toStdString();
        bool reached = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            reached = true;
            (void)QTest::qWaitForWindowActive(dialog);
            act(*dialog);
            EXPECT_EQ(CQtMessagePresenter::LastUnattendedCode(), kOk) << "the editor refused";
            if (dialog->isVisible()) {
                ADD_FAILURE() << "the dialog stayed open";
                dialog->reject();
            }
        });
        QTest::mouseClick(opener, Qt::LeftButton);
        ASSERT_TRUE(reached);
    }

    template <class TWidget>
    static TWidget* In(QDialog& dialog, const char* name)
    {
        auto* widget = dialog.findChild<TWidget*>(name);
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    static void Type(QDialog& dialog, const char* field, const QString& text)
    {
        auto* edit = In<QLineEdit>(dialog, field);
        ASSERT_NE(edit, nullptr);
        ASSERT_TRUE(edit->isVisible() && edit->isEnabled()) << field;
        QTest::mouseClick(edit, Qt::LeftButton);
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(edit, text);
    }

    // Moves a combo box `steps` entries down with the arrow key.
    static void ComboDown(QDialog& dialog, const char* field, int steps = 1)
    {
        auto* combo = In<QComboBox>(dialog, field);
        ASSERT_NE(combo, nullptr);
        for (int i = 0; i < steps; ++i) {
            QTest::keyClick(combo, Qt::Key_Down);
        }
    }

    static void ClickOk(QDialog& dialog) { QTest::mouseClick(In<QPushButton>(dialog, "okButton"), Qt::LeftButton); }

    // The fax details dialog: the batch time typed digit by digit.
    void TypeBatchTime(QDialog& editor, const QString& hour, const QString& minute)
    {
        InDialog(In<QPushButton>(editor, "detailsButton"), [&](QDialog& details) {
            auto* hourEdit = In<QLineEdit>(details, "hourField");
            auto* minuteEdit = In<QLineEdit>(details, "minuteField");
            QTest::mouseClick(hourEdit, Qt::LeftButton);
            QTest::keyClicks(hourEdit, hour);
            if (hour.size() == 2) {
                EXPECT_EQ(details.focusWidget(), minuteEdit) << "two hour digits move on to the minute";
            } else {
                QTest::keyClick(hourEdit, Qt::Key_Tab);
            }
            QTest::keyClicks(minuteEdit, minute);
            ClickOk(details);
        });
    }

    // Upload through the toolbar, answering its preview.
    std::unique_ptr<CAppContext> UploadAndRead()
    {
        CUploadPreviewDialog::SetNextAnswer(true);
        window->CommandAction(kCmdUpload)->trigger();
        return DeviceMemory();
    }

    static const CFaxMailEntry* Named(const CAddressBook& book, std::string_view name)
    {
        for (const CFaxMailEntry& entry : book.FaxMailEntries()) {
            if (entry.name.View() == name) {
                return &entry;
            }
        }
        return nullptr;
    }

    static const CScanEntry* NamedScan(const CAddressBook& book, std::string_view name)
    {
        for (const CScanEntry& entry : book.ScanEntries()) {
            if (entry.name.View() == name) {
                return &entry;
            }
        }
        return nullptr;
    }

    // A fax entry made on the fax/e-mail node with New.
    void NewFax(const QString& name, const QString& number, const QString& hour = {}, const QString& minute = {})
    {
        ClickTreeItem(kFaxMailNode);
        InDialog(Button("dialNewButton"), [&](QDialog& editor) {
            Type(editor, "nameField", name);
            Type(editor, "numberField", number);
            if (!hour.isEmpty()) {
                TypeBatchTime(editor, hour, minute);
            }
            ClickOk(editor);
        });
    }
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
