#include "ui/main/qzb_dlg.h"

#include "tests/ui/window_fixture.h"

#include "app/app_context.h"
#include "app/messenger.h"
#include "device/device_link.h"
#include "device/device_protocol.h"
#include "device/device_simulator.h"
#include "device/shared_words.h"
#include "files/dat_file.h"
#include "model/panel_code.h"
#include "pages/command_states.h"
#include "pages/navigation.h"
#include "ui/controls/my_combo_box.h"
#include "ui/main/file_dialogs.h"
#include "ui/main/qsettings_preferences.h"
#include "ui/main/qt_message_presenter.h"
#include "ui/main/qzb_app.h"
#include "ui/main/upload_preview_dialog.h"
#include "ui/pages/main_item_dlg.h"
#include "ui/pages/page_view.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <algorithm>
#include <filesystem>
#include <functional>

namespace qzb {
namespace {

TEST(QzbOptions, BareAndValuedSimulateAreToldApart)
{
    CQZBOptions bare;
    const QStringList rest = TakeSimulateOption({"qzb", "--simulate", "--fast", "--connect"}, bare);
    EXPECT_TRUE(bare.simulate);
    EXPECT_FALSE(bare.simulatorFile.has_value());
    EXPECT_EQ(rest, (QStringList{"qzb", "--fast", "--connect"}));
    CQZBOptions valued;
    TakeSimulateOption({"qzb", "--simulate=dev.dat"}, valued);
    EXPECT_EQ(valued.simulatorFile, std::filesystem::path("dev.dat"));
}

// The window against the simulated device with its pauses left out.
class MainWindow : public CWindowFixture
{
protected:
    explicit MainWindow(std::int32_t model = 8314, std::chrono::milliseconds sensePeriod = std::chrono::hours(1))
        : CWindowFixture(model, sensePeriod)
    {
    }

    // The nodes of the node table in the tree; the dial registration slots are not counted.
    int TreeNodes() const
    {
        int count = 0;
        for (QTreeWidgetItemIterator it(window->Tree()); *it != nullptr; ++it) {
            const std::uint32_t value = (*it)->data(0, Qt::UserRole).toUInt();
            const auto nodes = NavigationNodes();
            count += std::any_of(nodes.begin(),
                                 nodes.end(),
                                 [value](const CNavigationNode& node) { return node.typeCode == value; })
                         ? 1
                         : 0;
        }
        return count;
    }
};

TEST_F(MainWindow, ToolbarFollowsConnectDownloadAndDisconnect)
{
    EXPECT_TRUE(Enabled(kCmdConnect));
    EXPECT_FALSE(Enabled(kCmdDownload));
    ASSERT_EQ(window->Connect(), kOk);
    EXPECT_FALSE(Enabled(kCmdConnect));
    EXPECT_TRUE(Enabled(kCmdDownload));
    EXPECT_FALSE(Enabled(kCmdUpload)) << "no data yet";

    ASSERT_EQ(window->Download(), kOk);
    EXPECT_TRUE(Enabled(kCmdUpload));
    EXPECT_NE(window->StateWord() & 0x40, 0u);

    // A second download asks first; Cancel transfers nothing.
    const std::size_t moved = simulator.BytesMoved();
    CQtMessagePresenter::SetNextAnswer(kAnswerCancel);
    EXPECT_EQ(window->Download(), kOk);
    EXPECT_EQ(simulator.BytesMoved(), moved);
    ASSERT_EQ(CQtMessagePresenter::Recorded().size(), 1u);
    EXPECT_EQ(CQtMessagePresenter::Recorded()[0].code, kMsgUseMachineData);

    CUploadPreviewDialog::SetNextAnswer(true);
    EXPECT_EQ(window->Upload(), kOk);
    ASSERT_EQ(window->Disconnect(), kOk);
    EXPECT_TRUE(Enabled(kCmdConnect));
    EXPECT_FALSE(Enabled(kCmdUpload));
}

TEST_F(MainWindow, UploadWithoutDataStillAsksAndLeavingABadPageIsRefused)
{
    ASSERT_EQ(window->Connect(), kOk);
    EXPECT_FALSE(window->CommandAction(kCmdUpload)->isEnabled());
    CUploadPreviewDialog::SetNextAnswer(false);
    EXPECT_EQ(window->Upload(), kOk);
    EXPECT_TRUE(CQtMessagePresenter::Recorded().empty()) << "the preview is the one question";
    ASSERT_EQ(CUploadPreviewDialog::Shown().size(), 1u);
    EXPECT_EQ(simulator.Device().WriteCommandCount(), 0u);

    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    ASSERT_TRUE(window->EnterServiceMan(u"qorlex"));
    ASSERT_TRUE(window->SelectPage("ADMINSTRATOR_NO_DLG"));
    auto* edit = window->findChild<QLineEdit*>("adminNumberEdit");
    ASSERT_NE(edit, nullptr);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, "12");
    CQtMessagePresenter::SetNextAnswer(kAnswerOk);
    EXPECT_FALSE(window->SelectPage("CONFIGURATION"));
    EXPECT_EQ(window->PageHost()->CurrentType(), 0x02000008u) << "the page stays";
    EXPECT_EQ(CQtMessagePresenter::Recorded().back().code, kMsgInvalidRangeValue);
    EXPECT_EQ(CQtMessagePresenter::Recorded().back().text,
              u"The value is missing, out of range, already taken, or holds characters the device cannot show.");
    EXPECT_TRUE(edit->hasFocus());
    EXPECT_EQ(edit->selectedText(), "12");
}

TEST_F(MainWindow, ServiceManModeNeedsItsPasswordAndBringsTheSettingsPages)
{
    EXPECT_EQ(TreeNodes(), 9);
    EXPECT_FALSE(window->SelectPage("TCP_IP_SET_DLG"));
    EXPECT_FALSE(window->EnterServiceMan(u"wrong"));
    ASSERT_TRUE(window->EnterServiceMan(u"qorlex"));
    EXPECT_EQ(TreeNodes(), 30);
    EXPECT_TRUE(window->SelectPage("TCP_IP_SET_DLG"));
    EXPECT_EQ(window->PageHost()->CurrentType(), 0x02000020u);
    EXPECT_TRUE(window->SelectPage("CONFIGURATION"));
}

TEST_F(MainWindow, SettingsFilesAreSavedAndOpenedWithinTheirFamily)
{
    QTemporaryDir folder;
    ASSERT_TRUE(window->EnterServiceMan(u"qorlex"));
    // A setting and a speed dial that no factory file holds, so the saved file must carry them.
    context.store.SetItemNumber("MACHINE_SET_DLG", "Machine_Language", 2);
    window->PageHost()->ReloadAllPages();
    CFaxMailEntry entry;
    entry.number = 41;
    entry.address.Assign("0456");
    entry.name.Assign("Saved");
    ASSERT_EQ(context.device.book.PutFaxMailEntry(entry), kOk);
    CFileDialogs::SetNextFileName(folder.filePath("device"));
    window->SaveSettingsFileAs();
    EXPECT_EQ(window->CurrentFile(), std::filesystem::path(folder.filePath("device.DAT").toStdString()));
    {
        CAppContext saved(8314);
        ASSERT_EQ(OpenDatFile(window->CurrentFile(), saved), kOk);
        EXPECT_EQ(saved.store.GetItemNumber("MACHINE_SET_DLG", "Machine_Language"), 2);
        const CFaxMailEntry* read = saved.device.book.FindFaxMailEntry(41);
        ASSERT_NE(read, nullptr);
        EXPECT_EQ(read->address.View(), "0456");
        EXPECT_EQ(read->name.View(), "Saved");
        EXPECT_EQ(saved.device.book.FaxMailEntries().size(), context.device.book.FaxMailEntries().size());
    }
    EXPECT_TRUE(window->windowTitle().endsWith(" device.DAT"));
    EXPECT_NE(window->StateWord() & 0x80, 0u);

    // A file of the other family is refused; one of another model of the family switches to it.
    CAppContext coral(8329);
    CAppContext other(8313);
    ASSERT_EQ(WriteDatFile(folder.filePath("coral.dat").toStdString(), coral), kOk);
    ASSERT_EQ(WriteDatFile(folder.filePath("other.dat").toStdString(), other), kOk);
    CQtMessagePresenter::SetNextAnswer(kAnswerOk); // replace the data that is loaded
    CQtMessagePresenter::SetNextAnswer(kAnswerOk); // the refusal
    CFileDialogs::SetNextFileName(folder.filePath("coral.dat"));
    window->OpenSettingsFile();
    ASSERT_EQ(CQtMessagePresenter::Recorded().size(), 2u);
    EXPECT_EQ(CQtMessagePresenter::Recorded()[1].code, kMsgInvalidFormatOpenFileErr);
    EXPECT_EQ(CQtMessagePresenter::Recorded()[1].text, u"The settings file is damaged or belongs to another model.");
    EXPECT_EQ(context.modelCode, 8314);

    CQtMessagePresenter::SetNextAnswer(kAnswerOk);
    CFileDialogs::SetNextFileName(folder.filePath("other.dat"));
    window->OpenSettingsFile();
    EXPECT_EQ(context.modelCode, 8313);
    EXPECT_EQ(TreeNodes(), 26) << "the 8120's tree: no memory or camera direct, no USB";
    EXPECT_TRUE(window->SelectPage("TCP_IP_SET_DLG"));
    CFileDialogs::Clear();
}

TEST_F(MainWindow, TheAddressBookTravelsThroughACsvFile)
{
    QTemporaryDir folder;
    ASSERT_EQ(window->Connect(), kOk);
    ASSERT_EQ(window->Download(), kOk);
    const std::size_t entries = context.device.book.FaxMailEntries().size();
    ASSERT_GT(entries, 0u);
    CFileDialogs::SetNextFileName(folder.filePath("book"));
    window->ExportCsvFile();
    ASSERT_TRUE(std::filesystem::exists(folder.filePath("book.csv").toStdString()));

    context.device.book.Clear();
    CQtMessagePresenter::ClearRecorded();
    CQtMessagePresenter::SetNextAnswer(kAnswerOk); // replace the device's data
    CUploadPreviewDialog::SetNextAnswer(false); // close the report of what was read
    CFileDialogs::SetNextFileName(folder.filePath("book.csv"));
    window->ImportCsvFile();
    const auto& boxes = CQtMessagePresenter::Recorded();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].code, kMsgUseFileData);
    ASSERT_EQ(CUploadPreviewDialog::Shown().size(), 1u);
    EXPECT_EQ(CUploadPreviewDialog::Shown()[0].kind, CUploadPreviewDialog::Kind::Report);
    EXPECT_TRUE(CUploadPreviewDialog::Shown()[0].summary.startsWith(QString("Read %1 fax").arg(entries)));
    EXPECT_EQ(context.device.book.FaxMailEntries().size(), entries);
    EXPECT_NE(window->StateWord() & 0x20, 0u);
    CFileDialogs::Clear();
}

TEST_F(MainWindow, NewRegistrationOpensTheEditorAndOkWritesTheBook)
{
    ASSERT_EQ(window->Connect(), kOk);
    ASSERT_EQ(window->Download(), kOk);
    ASSERT_TRUE(window->SelectPage("FAX_EMAIL"));
    const std::size_t before = context.device.book.FaxMailEntries().size();
    auto* newButton = window->findChild<QPushButton*>("dialNewButton");
    ASSERT_NE(newButton, nullptr);
    ASSERT_TRUE(newButton->isEnabled());
    bool filled = false;
    QTimer::singleShot(0, [&filled] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        auto* name = dialog->findChild<QLineEdit*>("nameField");
        auto* number = dialog->findChild<QLineEdit*>("numberField");
        ASSERT_TRUE(name != nullptr && number != nullptr);
        QTest::keyClicks(name, "Depot");
        QTest::keyClicks(number, "0123456");
        dialog->findChild<QPushButton*>("okButton")->click();
        filled = true;
    });
    newButton->click();
    EXPECT_TRUE(filled);
    EXPECT_EQ(context.device.book.FaxMailEntries().size(), before + 1);
}

TEST_F(MainWindow, EditRefusesABadValueAndDeleteTakesTheEntryOut)
{
    ASSERT_EQ(window->Connect(), kOk);
    ASSERT_EQ(window->Download(), kOk);
    ASSERT_NE(context.device.book.FindFaxMailEntry(1), nullptr);
    QTreeWidgetItem* slot = nullptr;
    for (QTreeWidgetItemIterator it(window->Tree()); *it != nullptr; ++it) {
        if ((*it)->data(0, Qt::UserRole).toUInt() == 0x200001u) {
            slot = *it;
        }
    }
    ASSERT_NE(slot, nullptr);
    window->Tree()->setCurrentItem(slot);
    auto* edit = window->findChild<QPushButton*>("dialEditButton");
    ASSERT_TRUE(edit->isEnabled());

    // A number the device cannot dial is refused; the dialog stays until Cancel.
    CQtMessagePresenter::SetNextAnswer(kAnswerOk);
    bool refused = false;
    QTimer::singleShot(0, [&refused] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        auto* number = dialog->findChild<QLineEdit*>("numberField");
        number->setFocus();
        number->selectAll();
        QTest::keyClicks(number, "P1");
        dialog->findChild<QPushButton*>("okButton")->click();
        refused = dialog->isVisible() && dialog->focusWidget() == number;
        dialog->reject();
    });
    edit->click();
    EXPECT_TRUE(refused);
    EXPECT_EQ(CQtMessagePresenter::Recorded().back().code, kMsgNumberErr);
    EXPECT_EQ(CQtMessagePresenter::Recorded().back().text, u"The number is not valid.");
    EXPECT_NE(context.device.book.FindFaxMailEntry(1)->address.View(), "P1") << "Cancel changes nothing";

    window->findChild<QPushButton*>("dialDeleteButton")->click();
    EXPECT_EQ(context.device.book.FindFaxMailEntry(1), nullptr);
}

TEST_F(MainWindow, ClosingAsksToSaveTheFileOrUpdateTheDevice)
{
    QTemporaryDir folder;
    ASSERT_TRUE(window->EnterServiceMan(u"qorlex"));
    CFileDialogs::SetNextFileName(folder.filePath("keep.dat"));
    window->SaveSettingsFileAs();
    CQtMessagePresenter::SetNextAnswer(kAnswerCancel);
    EXPECT_FALSE(window->close()) << "Cancel keeps the window";
    ASSERT_EQ(CQtMessagePresenter::Recorded().size(), 1u);
    EXPECT_EQ(CQtMessagePresenter::Recorded()[0].code, kMsgTerminationSave);
    EXPECT_TRUE(QString::fromStdU16String(CQtMessagePresenter::Recorded()[0].text).contains("keep.dat"));

    // A save that fails keeps the window and the edits.
    std::filesystem::permissions(folder.filePath("keep.dat").toStdString(), std::filesystem::perms::owner_read);
    CQtMessagePresenter::SetNextAnswer(kAnswerYes);
    CQtMessagePresenter::SetNextAnswer(kAnswerOk);
    EXPECT_FALSE(window->close());
    EXPECT_EQ(CQtMessagePresenter::Recorded().back().code, kMsgWriteFileError);
    EXPECT_EQ(CQtMessagePresenter::Recorded().back().text, u"The file could not be written.");
    CQtMessagePresenter::SetNextAnswer(kAnswerNo);
    EXPECT_TRUE(window->close());
}

TEST_F(MainWindow, ClosingWithDeviceDataAsksToUpdateAndNoStillDisconnects)
{
    ASSERT_EQ(window->Connect(), kOk);
    ASSERT_EQ(window->Download(), kOk);
    const std::size_t uploads = simulator.Device().UploadCount();
    CQtMessagePresenter::SetNextAnswer(kAnswerNo);
    EXPECT_TRUE(window->close());
    EXPECT_EQ(CQtMessagePresenter::Recorded().back().code, kMsgTerminationUpdate);
    EXPECT_EQ(simulator.Device().UploadCount(), uploads);
    EXPECT_FALSE(link.IsSessionOpen());
}

TEST_F(MainWindow, DialRegistrationNodesArePagesTooForTheCommandLine)
{
    EXPECT_TRUE(window->SelectPage("SCAN_TO_SERVER"));
    EXPECT_EQ(window->Tree()->currentItem()->data(0, Qt::UserRole).toUInt(), 0x1000008u);
    EXPECT_TRUE(window->SelectPage("ADDRESS_BOOK"));
    EXPECT_FALSE(window->SelectPage("NO_SUCH_NODE"));
}

class MainWindowSensing : public MainWindow
{
protected:
    MainWindowSensing()
        : MainWindow(8314, std::chrono::milliseconds(20))
    {
    }
};

TEST_F(MainWindowSensing, ADeviceThatFailsIsReportedAndTheWindowGoesOffLine)
{
    ASSERT_EQ(window->Connect(), kOk);
    ASSERT_EQ(window->Download(), kOk);
    CQtMessagePresenter::SetNextAnswer(kAnswerOk);
    simulator.Faults().statusByte = 3; // the device reports a problem at the next poll
    EXPECT_TRUE(QTest::qWaitFor([this] { return (window->StateWord() & 0x10) == 0; }, 10000));
    ASSERT_FALSE(CQtMessagePresenter::Recorded().empty());
    EXPECT_EQ(CQtMessagePresenter::Recorded().back().code, kMsgMachineProblem);
    EXPECT_EQ(CQtMessagePresenter::Recorded().back().text,
              u"The device reports a problem.\nCheck the device's display panel.");
    EXPECT_NE(window->StateWord() & 0x40, 0u) << "the data stays";
    EXPECT_TRUE(window->CommandAction(kCmdConnect)->isEnabled());
}

// The class of the modal dialog an action opens, which is then closed with Cancel.
QString ModalOpenedBy(const std::function<void()>& action)
{
    QString opened;
    QTimer::singleShot(0, [&opened] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            opened = dialog->metaObject()->className();
            dialog->reject();
        }
    });
    action();
    return opened;
}

TEST_F(MainWindow, AboutOpensThePasswordDialogOnlyWithCtrlAndShift)
{
    EXPECT_EQ(ModalOpenedBy([this] { window->About(Qt::ControlModifier); }), "qzb::CVersionDlg");
    EXPECT_EQ(ModalOpenedBy([this] { window->About(Qt::ControlModifier | Qt::ShiftModifier); }), "qzb::CPassDlg");
    ASSERT_TRUE(window->EnterServiceMan(u"qorlex"));
    EXPECT_EQ(ModalOpenedBy([this] { window->About(Qt::ControlModifier | Qt::ShiftModifier); }), "qzb::CVersionDlg")
        << "once in service-man mode";
}

class MainWindowXjw : public MainWindow
{
protected:
    MainWindowXjw()
        : MainWindow(2152)
    {
    }
};

TEST_F(MainWindowXjw, AboutNeverOpensThePasswordDialog)
{
    EXPECT_EQ(ModalOpenedBy([this] { window->About(Qt::ControlModifier | Qt::ShiftModifier); }), "qzb::CVersionDlg");
}

// Directory names are held in the panel code; choosing another panel language on the machine
// page redraws them at once.
TEST_F(MainWindow, PanelLanguageChoiceRedrawsTheDirectoryNames)
{
    ASSERT_TRUE(window->EnterServiceMan(u"qorlex"));
    ASSERT_EQ(context.device.book.SetGroupName(1, "\xDB\xDB"), kOk);
    const QString english = QString::fromStdU16String(PanelBytesToText("\xDB\xDB", 0));
    const QString czech = QString::fromStdU16String(PanelBytesToText("\xDB\xDB", 7));
    ASSERT_NE(english, czech);
    context.store.SetItemNumber("MACHINE_SET_DLG", "Machine_Language", 0);
    window->RefreshDialBranch();
    const auto treeShows = [this](const QString& name) {
        for (QTreeWidgetItemIterator it(window->Tree()); *it != nullptr; ++it) {
            if ((*it)->text(0).contains(name)) {
                return true;
            }
        }
        return false;
    };
    ASSERT_TRUE(treeShows(english));

    ASSERT_TRUE(window->SelectPage("MACHINE_SET_DLG"));
    auto* language = window->PageHost()->findChild<CMyComboBox*>("languageCombo");
    ASSERT_NE(language, nullptr);
    language->setCurrentIndex(language->findData(7));
    EXPECT_EQ(context.store.GetItemNumber("MACHINE_SET_DLG", "Machine_Language"), 7) << "written before any store";
    EXPECT_TRUE(treeShows(czech));
    EXPECT_FALSE(treeShows(english));
}

} // namespace
} // namespace qzb

namespace qzb {
namespace {

class NodesWithoutView : public MainWindow
{
protected:
    QTreeWidgetItem* Item(std::uint32_t value) const
    {
        for (QTreeWidgetItemIterator it(window->Tree()); *it != nullptr; ++it) {
            if ((*it)->data(0, Qt::UserRole).toUInt() == value) {
                return *it;
            }
        }
        return nullptr;
    }

    void Click(std::uint32_t value)
    {
        QTreeWidgetItem* item = Item(value);
        ASSERT_NE(item, nullptr) << std::hex << value;
        window->Tree()->scrollToItem(item);
        QTest::mouseClick(
            window->Tree()->viewport(), Qt::LeftButton, {}, window->Tree()->visualItemRect(item).center());
        ASSERT_EQ(window->Tree()->currentItem(), item);
    }

    // The connection band as a user sees it: shown in the right pane, saying the state.
    QString VisibleBand() const
    {
        auto* band = window->findChild<QLabel*>("connectionStateBand");
        return band != nullptr && band->isVisible() ? band->text() : QString();
    }

    bool ListShown() const
    {
        auto* list = window->findChild<QWidget*>("dialEntryList");
        return list != nullptr && list->isVisible();
    }
};

TEST_F(NodesWithoutView, DialRegistrationRootAndSpeedDialNodeShowTheBandNotAnEmptyList)
{
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    ASSERT_EQ(window->Connect(), kOk);
    ASSERT_EQ(window->Download(), kOk);

    Click(0x1000000);
    EXPECT_EQ(VisibleBand(), "Connection state : On-line");
    EXPECT_FALSE(ListShown());

    Click(0x1000004);
    EXPECT_TRUE(ListShown());
    EXPECT_EQ(VisibleBand(), "");

    Click(0x1000002);
    EXPECT_EQ(VisibleBand(), "Connection state : On-line");
    EXPECT_FALSE(ListShown());

    // By keyboard from the speed dial node to the fax/e-mail node under it, and back up.
    window->Tree()->setFocus();
    QTest::keyClick(window->Tree(), Qt::Key_Down);
    EXPECT_EQ(window->Tree()->currentItem(), Item(0x1000004));
    EXPECT_TRUE(ListShown());
    QTest::keyClick(window->Tree(), Qt::Key_Up);
    EXPECT_EQ(VisibleBand(), "Connection state : On-line");

    ASSERT_EQ(window->Disconnect(), kOk);
    EXPECT_EQ(VisibleBand(), "Connection state : Off-line");
}

TEST_F(NodesWithoutView, TotalCounterBeforeAnyDataShowsTheBandAndNoZeroCounters)
{
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    Click(0x4000001);
    EXPECT_EQ(VisibleBand(), "Connection state : Off-line");
    CPageView* counters = window->PageHost()->Page(0x4000001);
    ASSERT_NE(counters, nullptr);
    EXPECT_FALSE(counters->isVisible());

    ASSERT_EQ(window->Connect(), kOk);
    ASSERT_EQ(window->Download(), kOk);
    Click(0x4000001);
    EXPECT_TRUE(counters->isVisible());
    EXPECT_EQ(VisibleBand(), "");
}

} // namespace
} // namespace qzb
