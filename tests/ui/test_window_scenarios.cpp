#include "ui/main/qzb_dlg.h"

#include "pages/dial_registration.h"
#include "pages/page_registry.h"
#include "tests/support/csv_files.h"
#include "tests/ui/window_fixture.h"
#include "ui/main/upload_preview_dialog.h"
#include "ui/pages/main_item_dlg.h"
#include "ui/pages/page_view.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolBar>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

namespace qzb {
namespace {

// A user's sessions with the window: mouse clicks and keys on widgets found by object name, the
// questions and file dialogs answered through their seams, the result read back from the
// simulated device's memory file.
class WindowScenario : public CShownWindowFixture
{
protected:
    void Press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(window.get(), static_cast<Qt::Key>(key), modifiers);
    }

    QTreeWidgetItem* TreeItem(std::uint32_t value) const
    {
        for (QTreeWidgetItemIterator it(window->Tree()); *it != nullptr; ++it) {
            if ((*it)->data(0, Qt::UserRole).toUInt() == value) {
                return *it;
            }
        }
        return nullptr;
    }

    // Clicks a tree item, opening its collapsed parents with the Right key first.
    void ClickTreeItem(std::uint32_t value)
    {
        QTreeWidget* tree = window->Tree();
        QTreeWidgetItem* item = TreeItem(value);
        ASSERT_NE(item, nullptr) << std::hex << value;
        std::vector<QTreeWidgetItem*> parents;
        for (QTreeWidgetItem* parent = item->parent(); parent != nullptr; parent = parent->parent()) {
            parents.insert(parents.begin(), parent);
        }
        for (QTreeWidgetItem* parent : parents) {
            if (!parent->isExpanded()) {
                QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(parent).center());
                QTest::keyClick(tree, Qt::Key_Right);
            }
        }
        tree->scrollToItem(item);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(item).center());
        ASSERT_EQ(tree->currentItem(), item);
    }

    // Keys as the user types them: each to the widget that has the focus at that moment.
    static void TypeIntoFocus(const QString& text)
    {
        for (const QChar c : text) {
            QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
        }
    }

    template <typename Widget>
    Widget* Find(const char* name) const
    {
        auto* widget = window->findChild<Widget*>(name);
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    static std::uint32_t TypeOf(std::string_view page) { return FindPageDef(page)->typeCode; }

    // The TCP/IP page shown with the network on and the address specified, in service-man mode.
    void ShowSpecifiedAddress()
    {
        ASSERT_TRUE(window->EnterServiceMan(u"qorlex"));
        ClickTreeItem(TypeOf("TCP_IP_SET_DLG"));
        ASSERT_EQ(window->PageHost()->CurrentType(), TypeOf("TCP_IP_SET_DLG"));
        for (const char* radio : {"networkEnableRadio", "ipSpecifyRadio"}) {
            QRadioButton* button = Find<QRadioButton>(radio);
            ASSERT_NE(button, nullptr);
            QTest::mouseClick(button, Qt::LeftButton);
            ASSERT_TRUE(button->isChecked()) << radio;
        }
    }

    // Clicks the first octet of the IP address, selects it with Ctrl+A and types the address.
    void TypeIpAddress(const QString& address)
    {
        QLineEdit* first = Find<QLineEdit>("ipAddressAddressField0");
        ASSERT_NE(first, nullptr);
        QTest::mouseClick(first, Qt::LeftButton);
        ASSERT_TRUE(first->hasFocus());
        QTest::keyClick(first, Qt::Key_A, Qt::ControlModifier);
        TypeIntoFocus(address);
    }

    std::string DeviceIpAddress() const
    {
        const auto device = DeviceMemory();
        std::string address;
        for (const char* octet : {"NETWORK_IP_ADD_1", "NETWORK_IP_ADD_2", "NETWORK_IP_ADD_3", "NETWORK_IP_ADD_4"}) {
            address +=
                (address.empty() ? "" : ".") + std::to_string(device->store.GetItemNumber("TCP_IP_SET_DLG", octet));
        }
        return address;
    }

    void ConnectAndDownload()
    {
        ClickToolbar("connectAction");
        ASSERT_TRUE(window->StateWord() & kStateOnline);
        ClickToolbar("downloadAction");
        ASSERT_TRUE(window->StateWord() & kStateDeviceData);
    }
};

TEST_F(WindowScenario, ADownloadFillsTheGroupBranchWithTheDevicesGroupsAndMembers)
{
    ConnectAndDownload();
    const CAddressBook& book = context.device.book;
    ASSERT_FALSE(book.Groups().empty());
    for (const CGroupEntry& group : book.Groups()) {
        QTreeWidgetItem* item = TreeItem(GroupItem(group.number));
        ASSERT_NE(item, nullptr) << "group " << group.number;
        EXPECT_TRUE(item->text(0).contains(QString::fromLatin1(group.name.View().data())))
            << item->text(0).toStdString();
        EXPECT_EQ(item->childCount(), static_cast<int>(group.members.size())) << "group " << group.number;
    }
}

TEST_F(WindowScenario, DeletingAGroupMemberMovesToItsGroupAndTheDeviceLosesIt)
{
    ConnectAndDownload();
    const CGroupEntry group = context.device.book.Groups().front();
    ASSERT_GE(group.members.size(), 2u);
    const std::int32_t member = group.members.front();
    ClickTreeItem(MemberItem(group.number, member));
    QTest::mouseClick(window->findChild<QPushButton*>("dialDeleteButton"), Qt::LeftButton);

    EXPECT_EQ(TreeItem(MemberItem(group.number, member)), nullptr) << "the tree follows the book";
    ASSERT_NE(window->Tree()->currentItem(), nullptr);
    EXPECT_EQ(window->Tree()->currentItem()->data(0, Qt::UserRole).toUInt(), GroupItem(group.number));
    auto* list = window->findChild<QTreeWidget*>("dialEntryList");
    EXPECT_EQ(list->topLevelItemCount(), static_cast<int>(group.members.size()) - 1) << "the list shows the group";

    EXPECT_NE(UploadFromToolbar(true), "No changes");
    const auto device = DeviceMemory();
    const CGroupEntry* sent = device->device.book.FindGroup(group.number);
    ASSERT_NE(sent, nullptr);
    EXPECT_EQ(std::count(sent->members.begin(), sent->members.end(), member), 0);
    EXPECT_EQ(sent->members.size(), group.members.size() - 1);
}

TEST_F(WindowScenario, AnOpenedFileIsPreviewedAgainstTheDeviceNotAgainstItself)
{
    ConnectAndDownload();
    ASSERT_TRUE(window->EnterServiceMan(u"qorlex"));
    // The device's data with speed dial 1 renamed, kept in a file.
    CAppContext file(context.modelCode);
    file.store = context.store;
    file.device = context.device;
    CFaxMailEntry renamed = *file.device.book.FindFaxMailEntry(1);
    renamed.name.Assign("Renamed");
    ASSERT_EQ(file.device.book.PutFaxMailEntry(renamed), kOk);
    const std::filesystem::path path = simFolder.Path() / "renamed.dat";
    ASSERT_EQ(WriteDatFile(path, file), kOk);

    CQtMessagePresenter::SetNextAnswer(kAnswerOk); // use the file's data
    CFileDialogs::SetNextFileName(QString::fromStdString(path.string()));
    Press(Qt::Key_O, Qt::ControlModifier);
    ASSERT_EQ(window->CurrentFile(), path);

    EXPECT_EQ(UploadFromToolbar(false), "1 speed dial changed");
    EXPECT_NE(DeviceMemory()->device.book.FindFaxMailEntry(1)->name.View(), "Renamed") << "nothing was sent yet";
    EXPECT_EQ(UploadFromToolbar(true), "1 speed dial changed");
    EXPECT_EQ(DeviceMemory()->device.book.FindFaxMailEntry(1)->name.View(), "Renamed");
}

TEST_F(WindowScenario, ACsvImportWithBadLinesListsThemInAScrollableReport)
{
    ConnectAndDownload();
    const std::filesystem::path csv = simFolder.Path() / "book.csv";
    CFileDialogs::SetNextFileName(QString::fromStdString(csv.string()));
    Press(Qt::Key_E, Qt::ControlModifier);
    ASSERT_TRUE(std::filesystem::exists(csv));
    const std::size_t spoiled = SpoilSpeedDialKinds(csv);
    ASSERT_GT(spoiled, 3u);

    CQtMessagePresenter::SetNextAnswer(kAnswerOk); // replace the device's data
    CUploadPreviewDialog::SetNextAnswer(false); // close the report
    CFileDialogs::SetNextFileName(QString::fromStdString(csv.string()));
    Press(Qt::Key_I, Qt::ControlModifier);
    ASSERT_FALSE(CUploadPreviewDialog::Shown().empty());
    const CUploadPreviewDialog::CShown& report = CUploadPreviewDialog::Shown().back();
    EXPECT_EQ(report.kind, CUploadPreviewDialog::Kind::Report);
    EXPECT_TRUE(report.summary.startsWith("Read ")) << report.summary.toStdString();
    EXPECT_GE(static_cast<std::size_t>(report.lines.size()), spoiled);
    EXPECT_NE(window->StateWord() & kStateCsvData, 0u);
}

TEST_F(WindowScenario, ClosingWithUnsentEditsAsksAndUploadsOnYes)
{
    ConnectAndDownload();
    ClickTreeItem(SpeedDialSlotItem(1));
    QTest::mouseClick(window->findChild<QPushButton*>("dialDeleteButton"), Qt::LeftButton);
    ASSERT_EQ(context.device.book.FindFaxMailEntry(1), nullptr);

    CQtMessagePresenter::SetNextAnswer(kAnswerCancel);
    EXPECT_FALSE(window->close()) << "Cancel keeps the window";
    ASSERT_EQ(CQtMessagePresenter::Recorded().size(), 1u);
    EXPECT_EQ(CQtMessagePresenter::Recorded()[0].code, kMsgTerminationUpdate);
    EXPECT_NE(DeviceMemory()->device.book.FindFaxMailEntry(1), nullptr);

    CQtMessagePresenter::SetNextAnswer(kAnswerYes);
    EXPECT_TRUE(window->close());
    EXPECT_EQ(DeviceMemory()->device.book.FindFaxMailEntry(1), nullptr) << "Yes sent the edit before closing";
    EXPECT_FALSE(window->StateWord() & kStateOnline);
}

// An address retyped over the one the device holds reaches the device as typed: the dot typed after
// a full octet, which the control completes by itself, does not skip the field after it.
TEST_F(WindowScenario, AnIpAddressRetypedOverTheDevicesOneIsUploadedAsTyped)
{
    ConnectAndDownload();
    ShowSpecifiedAddress();
    TypeIpAddress("192.168.1.50");
    EXPECT_NE(UploadFromToolbar(true), "No changes");
    ASSERT_EQ(DeviceIpAddress(), "192.168.1.50");

    CQtMessagePresenter::SetNextAnswer(kAnswerOk); // replace the window's data
    ClickToolbar("downloadAction");
    ASSERT_EQ(Find<QLineEdit>("ipAddressAddressField3")->text(), "50") << "the page shows what the device holds";
    TypeIpAddress("192.168.1.77");
    EXPECT_EQ(UploadFromToolbar(true).toStdString(), "1 setting");
    EXPECT_EQ(DeviceIpAddress(), "192.168.1.77");
}

// A page whose check fails on leaving stays, and the tree keeps pointing at it, whether the user
// clicked another node or moved there with the keys; once the address passes, the click moves on.
TEST_F(WindowScenario, TheTreeStaysOnAPageThatRefusedToBeLeft)
{
    ConnectAndDownload();
    ShowSpecifiedAddress();
    TypeIpAddress("127.0.0.1");
    QTreeWidget* tree = window->Tree();
    QTreeWidgetItem* network = TreeItem(TypeOf("TCP_IP_SET_DLG"));
    QTreeWidgetItem* scan = TreeItem(TypeOf("SCAN_SET_DLG"));
    ASSERT_NE(scan, nullptr);
    auto selectedIs = [tree](QTreeWidgetItem* item) {
        const QList<QTreeWidgetItem*> selected = tree->selectedItems();
        return tree->currentItem() == item && selected.size() == 1 && selected.front() == item;
    };

    CQtMessagePresenter::SetNextAnswer(kAnswerOk); // "The IP address is not valid."
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(scan).center());
    ASSERT_EQ(CQtMessagePresenter::Recorded().size(), 1u);
    EXPECT_EQ(CQtMessagePresenter::Recorded().back().code, kMsgIpAddressInvalidErr);
    EXPECT_EQ(window->PageHost()->CurrentType(), TypeOf("TCP_IP_SET_DLG"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return selectedIs(network); }));
    EXPECT_TRUE(Find<QLineEdit>("ipAddressAddressField0")->hasFocus()) << "the refused field has the focus";

    tree->setFocus();
    CQtMessagePresenter::SetNextAnswer(kAnswerOk);
    QTest::keyClick(tree, Qt::Key_Down);
    ASSERT_EQ(CQtMessagePresenter::Recorded().size(), 2u);
    EXPECT_TRUE(QTest::qWaitFor([&] { return selectedIs(network); }));
    EXPECT_EQ(window->PageHost()->CurrentType(), TypeOf("TCP_IP_SET_DLG"));

    TypeIpAddress("192.168.1.77");
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(scan).center());
    EXPECT_EQ(CQtMessagePresenter::Recorded().size(), 2u);
    EXPECT_EQ(window->PageHost()->CurrentType(), TypeOf("SCAN_SET_DLG"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return selectedIs(scan); }));
}

// The Machine Setting page's radio buttons are radio buttons to a screen reader, and the arrow keys
// move the choice within a group, never into the next one; the device gets the choice.
TEST_F(WindowScenario, TheMachinePagesRadioButtonsAreAGroupToScreenReadersAndTheArrowKeys)
{
    ConnectAndDownload();
    ASSERT_TRUE(window->EnterServiceMan(u"qorlex"));
    ClickTreeItem(TypeOf("MACHINE_SET_DLG"));
    QWidget* page = window->PageHost()->Page(TypeOf("MACHINE_SET_DLG"));
    ASSERT_NE(page, nullptr);
    const QList<QRadioButton*> radios = page->findChildren<QRadioButton*>();
    ASSERT_GE(radios.size(), 5);
    for (QRadioButton* radio : radios) {
        QAccessibleInterface* shown = QAccessible::queryAccessibleInterface(radio);
        EXPECT_EQ(shown->role(), QAccessible::RadioButton) << radio->objectName().toStdString();
        EXPECT_EQ(shown->state().checked != 0, radio->isChecked()) << radio->objectName().toStdString();
    }

    auto* high = Find<QRadioButton>("buzzerHighRadio");
    auto* low = Find<QRadioButton>("buzzerLowRadio");
    auto* off = Find<QRadioButton>("buzzerOffRadio");
    auto* copy = Find<QRadioButton>("initialCopyRadio");
    auto* fax = Find<QRadioButton>("initialFaxRadio");
    ASSERT_TRUE(high && low && off && copy && fax);
    QTest::mouseClick(high, Qt::LeftButton);
    QTest::mouseClick(fax, Qt::LeftButton);
    QTest::mouseClick(high, Qt::LeftButton);
    ASSERT_TRUE(high->hasFocus() && high->isChecked());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
    EXPECT_TRUE(low->hasFocus() && low->isChecked() && !high->isChecked());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
    EXPECT_TRUE(off->hasFocus() && off->isChecked() && !low->isChecked());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    EXPECT_TRUE(off->isChecked()) << "the last of its group";
    EXPECT_TRUE(fax->isChecked() && !copy->isChecked()) << "the next group keeps its choice";
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left);
    EXPECT_TRUE(low->hasFocus() && low->isChecked() && !off->isChecked());

    UploadFromToolbar(true);
    const auto device = DeviceMemory();
    EXPECT_EQ(device->store.GetItemNumber("MACHINE_SET_DLG", "Machine_Buzzer_Volume"), 1);
    EXPECT_EQ(device->store.GetItemNumber("MACHINE_SET_DLG", "Machine_Initial_mode"), 1);
}

} // namespace
} // namespace qzb
