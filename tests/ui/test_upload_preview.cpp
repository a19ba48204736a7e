#include "ui/main/upload_preview_dialog.h"

#include "tests/ui/window_fixture.h"

#include "app/app_context.h"
#include "app/messenger.h"
#include "app/preferences.h"
#include "device/device_link.h"
#include "device/device_protocol.h"
#include "device/device_simulator.h"
#include "device/shared_words.h"
#include "files/dat_file.h"
#include "pages/command_states.h"
#include "ui/main/file_dialogs.h"
#include "ui/main/qsettings_preferences.h"
#include "ui/main/qt_message_presenter.h"
#include "ui/main/qzb_app.h"
#include "ui/main/qzb_dlg.h"
#include "ui/pages/main_item_dlg.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

namespace qzb {
namespace {

TEST(QzbOptions, SimulateTakesSeveralFilesAndTheDeviceChoice)
{
    CQZBOptions options;
    TakeSimulateOption({"qzb", "--simulate=a.dat,b.dat"}, options);
    EXPECT_TRUE(options.simulate);
    EXPECT_EQ(options.simulatorFiles, (std::vector<std::filesystem::path>{"a.dat", "b.dat"}));
    EXPECT_FALSE(options.simulatorFile.has_value());
}

TEST(UploadPreviewDialog, UploadAcceptsCancelRejectsAndAComparisonOffersNoUpload)
{
    const CUploadPreviewDialog::CTexts texts{"Upload", "1 setting", "Upload these changes?", "Upload", "Cancel"};
    for (const char* button : {"previewUploadButton", "previewCancelButton"}) {
        CUploadPreviewDialog dialog(CUploadPreviewDialog::Kind::Upload, texts, {"MACHINE_SET_DLG", "  x: 1 -> 2"});
        dialog.show();
        auto* pressed = dialog.findChild<QPushButton*>(button);
        ASSERT_NE(pressed, nullptr) << button;
        EXPECT_TRUE(dialog.findChild<QPushButton*>("previewCancelButton")->isDefault());
        QTest::mouseClick(pressed, Qt::LeftButton);
        EXPECT_EQ(dialog.result(),
                  std::string_view(button) == "previewUploadButton" ? QDialog::Accepted : QDialog::Rejected);
        EXPECT_EQ(dialog.findChild<QPlainTextEdit*>("previewDetails")->toPlainText(), "MACHINE_SET_DLG\n  x: 1 -> 2");
    }
    CUploadPreviewDialog compare(CUploadPreviewDialog::Kind::Compare, texts, {});
    EXPECT_EQ(compare.findChild<QPushButton*>("previewUploadButton"), nullptr);
    EXPECT_EQ(compare.findChild<QPlainTextEdit*>("previewDetails"), nullptr);
}

// The window against the simulated device: what an upload changes is listed before it is sent.
class UploadPreview : public CWindowFixture
{
protected:
    UploadPreview()
        : CWindowFixture(8314)
    {
    }
    // Upload with the preview, its one question, answered.
    std::string Upload(bool send)
    {
        CUploadPreviewDialog::SetNextAnswer(send);
        const std::size_t shown = CUploadPreviewDialog::Shown().size();
        EXPECT_EQ(window->Upload(), kOk);
        EXPECT_EQ(CUploadPreviewDialog::Shown().size(), shown + 1);
        return CUploadPreviewDialog::Shown().back().summary.toStdString();
    }
};

TEST_F(UploadPreview, CancelSendsNothingAndUploadSendsWhatWasListed)
{
    ASSERT_EQ(window->Connect(), kOk);
    ASSERT_EQ(window->Download(), kOk);
    EXPECT_EQ(Upload(false), "No changes");
    EXPECT_EQ(simulator.Device().WriteCommandCount(), 0u);

    CAddressBook& book = context.device.book;
    CFaxMailEntry entry;
    entry.number = 40;
    entry.address.Assign("0123");
    ASSERT_EQ(book.PutFaxMailEntry(entry), kOk);
    // The deletion cascades: the group holding the speed dial loses it, and the list says so.
    const std::int32_t group = book.Groups().front().number;
    const std::int32_t deleted = book.Groups().front().members.front();
    ASSERT_NE(DeviceMemory()->device.book.FindFaxMailEntry(deleted), nullptr);
    ASSERT_TRUE(book.DeleteFaxMailEntry(deleted));
    // Outside service-man mode the settings do not travel, so they are not listed.
    context.store.SetItemNumber("MACHINE_SET_DLG", "Machine_Language", 2);
    EXPECT_EQ(Upload(false), "1 speed dial added, 1 speed dial removed, 1 group changed");
    EXPECT_EQ(simulator.Device().WriteCommandCount(), 0u);
    const QStringList lines = CUploadPreviewDialog::Shown().back().lines;
    EXPECT_TRUE(lines.contains("  speed dial 040 added: kind fax, number 0123, speed 3"))
        << lines.join('\n').toStdString();

    EXPECT_EQ(Upload(true), "1 speed dial added, 1 speed dial removed, 1 group changed");
    EXPECT_EQ(simulator.Device().WriteCommandCount(), 1u);
    // What the device's memory holds now, decoded by the core reader from its own file.
    {
        const auto memory = DeviceMemory();
        const CAddressBook& sent = memory->device.book;
        const CFaxMailEntry* added = sent.FindFaxMailEntry(40);
        ASSERT_NE(added, nullptr);
        EXPECT_EQ(added->address.View(), "0123");
        EXPECT_EQ(sent.FindFaxMailEntry(deleted), nullptr);
        const auto held = std::find_if(sent.Groups().begin(), sent.Groups().end(), [&](const CGroupEntry& entry) {
            return entry.number == group;
        });
        if (held != sent.Groups().end()) {
            EXPECT_EQ(std::count(held->members.begin(), held->members.end(), deleted), 0);
        }
        EXPECT_NE(memory->store.GetItemNumber("MACHINE_SET_DLG", "Machine_Language"), 2)
            << "outside service-man mode the settings stay on the device as they were";
    }
    // The device now holds what was sent.
    EXPECT_EQ(Upload(false), "No changes");
    EXPECT_EQ(simulator.Device().WriteCommandCount(), 1u);

    // The panel language did not travel outside service-man mode: the device kept its own, and a
    // service-man upload lists the change still to be sent.
    EXPECT_EQ(DeviceMemory()->store.GetItemNumber("MACHINE_SET_DLG", "Machine_Language"), 0);
    ASSERT_TRUE(window->EnterServiceMan(u"qorlex"));
    window->PageHost()->ReloadAllPages();
    EXPECT_EQ(Upload(false), "1 setting") << CUploadPreviewDialog::Shown().back().lines.join('\n').toStdString();
    EXPECT_TRUE(
        CUploadPreviewDialog::Shown().back().lines.contains("  Panel Language (Machine_Language): English → German"))
        << CUploadPreviewDialog::Shown().back().lines.join('\n').toStdString();
    // A language neither the device nor the window's copy of it holds travels and lands.
    context.store.SetItemNumber("MACHINE_SET_DLG", "Machine_Language", 1);
    window->PageHost()->ReloadAllPages();
    EXPECT_EQ(Upload(true), "1 setting");
    EXPECT_EQ(DeviceMemory()->store.GetItemNumber("MACHINE_SET_DLG", "Machine_Language"), 1);
}

// Only the directory travels outside service-man mode: the device's settings as the window knows
// them stay as they were, so a later service-man upload still lists the setting it will change.
TEST_F(UploadPreview, APlainUploadLeavesTheDevicesSettingsAsTheyWere)
{
    ASSERT_EQ(window->Connect(), kOk);
    ASSERT_EQ(window->Download(), kOk);
    const std::int32_t onDevice = DeviceMemory()->store.GetItemNumber("MACHINE_SET_DLG", "Machine_Language");
    context.store.SetItemNumber("MACHINE_SET_DLG", "Machine_Language", onDevice == 2 ? 1 : 2);
    CFaxMailEntry entry;
    entry.number = 40;
    entry.address.Assign("0123");
    ASSERT_EQ(context.device.book.PutFaxMailEntry(entry), kOk);
    EXPECT_EQ(Upload(true), "1 speed dial added");
    ASSERT_TRUE(window->EnterServiceMan(u"qorlex"));
    EXPECT_EQ(Upload(false), "1 setting") << "the device still holds its own language";
}

TEST_F(UploadPreview, AFileOpenedWhileConnectedIsComparedWithTheDevice)
{
    QTemporaryDir folder;
    ASSERT_EQ(window->Connect(), kOk);
    ASSERT_EQ(window->Download(), kOk);
    ASSERT_TRUE(window->EnterServiceMan(u"qorlex"));
    QAction* compare = window->findChild<QAction*>("compareWithDeviceAction");
    ASSERT_NE(compare, nullptr);
    EXPECT_FALSE(compare->isEnabled()) << "no file open";

    // The device's data with one speed dial renamed, kept in a file.
    const std::string path = folder.filePath("changed.dat").toStdString();
    CAppContext file(8314);
    file.store = context.store;
    file.device = context.device;
    CFaxMailEntry renamed = file.device.book.FaxMailEntries().front();
    renamed.name.Assign("Renamed");
    ASSERT_EQ(file.device.book.PutFaxMailEntry(renamed), kOk);
    ASSERT_EQ(WriteDatFile(path, file), kOk);

    CQtMessagePresenter::SetNextAnswer(kAnswerOk); // replace the device's data
    CFileDialogs::SetNextFileName(QString::fromStdString(path));
    window->OpenSettingsFile();
    ASSERT_TRUE(compare->isEnabled());
    CUploadPreviewDialog::SetNextAnswer(true); // a comparison never uploads, whatever the answer
    compare->trigger();
    ASSERT_EQ(CUploadPreviewDialog::Shown().size(), 1u);
    EXPECT_EQ(CUploadPreviewDialog::Shown()[0].kind, CUploadPreviewDialog::Kind::Compare);
    EXPECT_EQ(CUploadPreviewDialog::Shown()[0].summary.toStdString(), "1 speed dial changed");
    EXPECT_EQ(simulator.Device().WriteCommandCount(), 0u);

    ASSERT_EQ(window->Disconnect(), kOk);
    EXPECT_FALSE(compare->isEnabled());
}

} // namespace
} // namespace qzb
