#include "ui/main/qzb_dlg.h"

#include "session/qzb_session.h"
#include "tests/support/vcard_fixtures.h"
#include "tests/ui/window_fixture.h"
#include "ui/main/file_dialogs.h"
#include "ui/main/qt_message_presenter.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>

#include <fstream>
#include <functional>

namespace qzb {
namespace {

// Sessions with the window's File menu entries that open dialogs of their own: the menu opened
// with Alt+F and its entry chosen by its mnemonic, the dialog worked with mouse and keys while it
// runs modally.
class WindowFileMenu : public CShownWindowFixture
{
protected:
    // File ▸ the entry of the mnemonic, through the keyboard.
    void ChooseFileMenu(Qt::Key mnemonic)
    {
        QTest::keyClick(window.get(), Qt::Key_F, Qt::AltModifier);
        auto* file = window->findChild<QMenu*>("fileMenu");
        ASSERT_NE(file, nullptr);
        ASSERT_TRUE(QTest::qWaitFor([file] { return file->isVisible(); }));
        QTest::keyClick(file, mnemonic);
    }

    static void ClickRow(QTreeWidget& list, int row)
    {
        QTreeWidgetItem* item = list.topLevelItem(row);
        ASSERT_NE(item, nullptr);
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualItemRect(item).center());
    }
};

// A download is kept as a backup; the device then changes. Restoring the backup shows what it
// changes in the window, loads it, and the next upload's preview lists what goes back.
TEST_F(WindowFileMenu, RestoreBackupLoadsTheChosenDownloadAndTheUploadSendsItBack)
{
    ClickToolbar("connectAction");
    ClickToolbar("downloadAction");
    ASSERT_NE(window->StateWord() & kStateDeviceData, 0u);
    const std::vector<CBackupFile> backups = window->Session().Backups();
    ASSERT_FALSE(backups.empty());
    const std::string original(context.device.book.FindFaxMailEntry(1)->name.View());
    CFaxMailEntry renamed = *context.device.book.FindFaxMailEntry(1);
    renamed.name.Assign("Renamed");
    ASSERT_EQ(context.device.book.PutFaxMailEntry(renamed), kOk);
    window->RefreshDialBranch();
    EXPECT_EQ(UploadFromToolbar(true), "1 speed dial changed");
    ASSERT_EQ(DeviceMemory()->device.book.FindFaxMailEntry(1)->name.View(), "Renamed");

    CQtMessagePresenter::SetNextAnswer(kAnswerOk); // the window's data is replaced
    QStringList dates;
    QString comparison;
    WhenShown("restoreBackupDialog", [&](QDialog& dialog) {
        auto* list = dialog.findChild<QTreeWidget*>("backupList");
        for (int row = 0; row < list->topLevelItemCount(); ++row) {
            dates.push_back(list->topLevelItem(row)->text(0));
        }
        ClickRow(*list, 0);
        comparison = dialog.findChild<QPlainTextEdit*>("backupComparison")->toPlainText();
        QTest::mouseClick(dialog.findChild<QPushButton*>("restoreButton"), Qt::LeftButton);
    });
    ChooseFileMenu(Qt::Key_R);
    ASSERT_EQ(dates.size(), static_cast<int>(backups.size()));
    EXPECT_EQ(dates.front().toStdString(), backups.front().Date());
    EXPECT_TRUE(comparison.startsWith("1 speed dial changed")) << comparison.toStdString();
    EXPECT_EQ(context.device.book.FindFaxMailEntry(1)->name.View(), original);
    EXPECT_TRUE(window->CurrentFile().empty()) << "Save never writes over a backup";

    EXPECT_EQ(UploadFromToolbar(true), "1 speed dial changed");
    EXPECT_EQ(DeviceMemory()->device.book.FindFaxMailEntry(1)->name.View(), original);
}

// Import Contacts previews the cards as the options stand, follows a typed group name, and
// puts the entries in only on Import.
TEST_F(WindowFileMenu, ImportContactsPreviewsTheCardsAndImportsThemIntoAGroup)
{
    ClickToolbar("connectAction");
    ClickToolbar("downloadAction");
    const std::size_t before = context.device.book.FaxMailEntries().size();
    const std::filesystem::path cards = simFolder.Path() / "cards.vcf";
    std::ofstream(cards, std::ios::binary) << vcard::kRfc2426;
    CFileDialogs::SetNextFileName(QString::fromStdString(cards.string()));
    int rows = 0;
    QString notes;
    WhenShown("contactsImportDialog", [&](QDialog& dialog) {
        QTest::keyClicks(dialog.findChild<QLineEdit*>("contactsGroupEdit"), "Lotus");
        rows = dialog.findChild<QTreeWidget*>("contactsEntryList")->topLevelItemCount();
        notes = dialog.findChild<QPlainTextEdit*>("contactsNotes")->toPlainText();
        QTest::mouseClick(dialog.findChild<QPushButton*>("contactsImportButton"), Qt::LeftButton);
    });
    ChooseFileMenu(Qt::Key_C);
    EXPECT_EQ(rows, 4);
    EXPECT_TRUE(notes.contains("number +1-919-676-9564 written as 001-919-676-9564")) << notes.toStdString();
    EXPECT_EQ(context.device.book.FaxMailEntries().size(), before + 4);
    const auto group = std::find_if(context.device.book.Groups().begin(),
                                    context.device.book.Groups().end(),
                                    [](const CGroupEntry& g) { return g.name.View() == "Lotus"; });
    ASSERT_NE(group, context.device.book.Groups().end());
    EXPECT_EQ(group->members.size(), 2u) << "the two fax entries";
    EXPECT_EQ(UploadFromToolbar(true), "4 speed dials added, 1 group added");
    EXPECT_EQ(DeviceMemory()->device.book.FaxMailEntries().size(), before + 4);
}

// Export Contacts of a book without fax or e-mail speed dials says so, asks for no file and
// writes none.
TEST_F(WindowFileMenu, ExportContactsOfABookWithoutSpeedDialsSaysThereIsNothingToExport)
{
    ClickToolbar("connectAction");
    ClickToolbar("downloadAction");
    context.device.book = CAddressBook();
    window->RefreshDialBranch();
    const std::filesystem::path out = simFolder.Path() / "contacts.vcf";
    CFileDialogs::SetNextFileName(QString::fromStdString(out.string()));
    CQtMessagePresenter::ClearRecorded();
    CQtMessagePresenter::SetNextAnswer(kAnswerOk);
    ChooseFileMenu(Qt::Key_T);
    ASSERT_TRUE(QTest::qWaitFor([] { return !CQtMessagePresenter::Recorded().empty(); }));
    EXPECT_EQ(CQtMessagePresenter::Recorded().back().code, kMsgVcfNothingToExport);
    EXPECT_FALSE(std::filesystem::exists(out));
    CFileDialogs::Clear();
}

} // namespace
} // namespace qzb
