#include "ui/main/qzb_dlg.h"

#include "pages/dial_registration.h"
#include "session/qzb_session.h"
#include "tests/ui/window_fixture.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <algorithm>
#include <functional>
#include <memory>

namespace qzb {
namespace {

// What the window says to the user in its questions, previews and lists, read as a user meets
// them: commands from the toolbar and the File menu, dialogs worked with the mouse and keys while
// they run modally, the result read back from the simulated device's memory file.
class WindowTexts : public CShownWindowFixture
{
protected:
    // Notes every modal dialog that comes up while the command runs, in order, and works the one
    // named with act. Any other dialog is closed at once, so that a question nobody expected is
    // counted and cannot block the test; the progress of a transfer is left to end by itself.
    void WatchDialogs(const char* name, std::function<void(QDialog&)> act)
    {
        auto* timer = new QTimer(window.get());
        timer->setInterval(10);
        auto polls = std::make_shared<int>(0);
        auto worked = std::make_shared<bool>(false);
        QObject::connect(timer, &QTimer::timeout, timer, [this, timer, name, act, polls, worked] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (dialog != nullptr && dialog->isVisible() && dialog->objectName() != "transferProgress" &&
                (m_seen.isEmpty() || m_seenDialogs.back() != dialog)) {
                m_seen.push_back(dialog->objectName());
                m_seenDialogs.push_back(dialog);
                if (dialog->objectName() == name && !*worked) {
                    *worked = true;
                    act(*dialog);
                } else {
                    dialog->reject();
                }
            }
            if (++*polls > 3000) {
                timer->stop();
                timer->deleteLater();
            }
        });
        timer->start();
        m_timers.push_back(timer);
    }

    void StopWatching()
    {
        for (QTimer* timer : m_timers) {
            timer->stop();
            timer->deleteLater();
        }
        m_timers.clear();
    }

    void ConnectAndDownload()
    {
        ClickToolbar("connectAction");
        ASSERT_TRUE(window->StateWord() & kStateOnline);
        ClickToolbar("downloadAction");
        ASSERT_TRUE(window->StateWord() & kStateDeviceData);
    }

    void Rename(std::int32_t number, const char* name)
    {
        CFaxMailEntry entry = *context.device.book.FindFaxMailEntry(number);
        entry.name.Assign(name);
        ASSERT_EQ(context.device.book.PutFaxMailEntry(entry), kOk);
        window->RefreshDialBranch();
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

    QStringList m_seen;
    std::vector<QDialog*> m_seenDialogs;
    std::vector<QTimer*> m_timers;
};

// Upload asks once: the preview carries the question above the changes, which wrap instead of
// scrolling sideways. Upload in it sends; Return on it, which presses Cancel, sends nothing.
TEST_F(WindowTexts, UploadAsksOnceInThePreviewAndSendsOnlyOnUpload)
{
    ConnectAndDownload();
    Rename(1, "Asked once");
    bool questionFirst = false;
    bool wraps = false;
    QString question;
    WatchDialogs("uploadPreviewDialog", [&](QDialog& dialog) {
        auto* label = dialog.findChild<QLabel*>("previewQuestionLabel");
        auto* details = dialog.findChild<QPlainTextEdit*>("previewDetails");
        ASSERT_NE(label, nullptr);
        ASSERT_NE(details, nullptr);
        question = label->text();
        questionFirst = label->geometry().bottom() < details->geometry().top();
        wraps = details->lineWrapMode() == QPlainTextEdit::WidgetWidth &&
                details->horizontalScrollBarPolicy() == Qt::ScrollBarAlwaysOff;
        QTest::mouseClick(dialog.findChild<QPushButton*>("previewUploadButton"), Qt::LeftButton);
    });
    ClickToolbar("uploadAction");
    StopWatching();
    EXPECT_EQ(m_seen, QStringList{"uploadPreviewDialog"}) << m_seen.join(", ").toStdString();
    EXPECT_TRUE(CQtMessagePresenter::Recorded().empty()) << "no message box before the preview";
    EXPECT_TRUE(question.contains("will be replaced by the data in this window")) << question.toStdString();
    EXPECT_TRUE(questionFirst) << "the question stands above the list of changes";
    EXPECT_TRUE(wraps);
    EXPECT_EQ(DeviceMemory()->device.book.FindFaxMailEntry(1)->name.View(), "Asked once");

    Rename(1, "Never sent");
    const std::size_t writes = simulator.Device().WriteCommandCount();
    m_seen.clear();
    m_seenDialogs.clear();
    WatchDialogs("uploadPreviewDialog", [](QDialog& dialog) { QTest::keyClick(&dialog, Qt::Key_Return); });
    ClickToolbar("uploadAction");
    StopWatching();
    EXPECT_EQ(m_seen, QStringList{"uploadPreviewDialog"}) << m_seen.join(", ").toStdString();
    EXPECT_EQ(simulator.Device().WriteCommandCount(), writes);
    EXPECT_EQ(DeviceMemory()->device.book.FindFaxMailEntry(1)->name.View(), "Asked once");
}

// Outside service-man mode Restore Backup speaks of the directory under the window's own caption,
// lists each backup with what restoring it would change, and brings the directory back.
TEST_F(WindowTexts, RestoreBackupInNormalModeSpeaksOfTheDirectoryAndEachRowTellsItsChanges)
{
    const std::size_t kept = window->Session().Backups().size();
    ConnectAndDownload();
    const std::string original(context.device.book.FindFaxMailEntry(1)->name.View());
    Rename(1, "Second state");
    CUploadPreviewDialog::SetNextAnswer(true);
    ClickToolbar("uploadAction");
    CQtMessagePresenter::SetNextAnswer(kAnswerOk); // a download over the window's data
    ClickToolbar("downloadAction");
    ASSERT_EQ(window->Session().Backups().size(), std::min(kept + 2, kKeptBackups));
    Rename(1, "Edited");

    QString scope;
    QStringList headers;
    QStringList changes;
    WatchDialogs("restoreBackupDialog", [&](QDialog& dialog) {
        if (auto* label = dialog.findChild<QLabel*>("backupScopeLabel")) {
            scope = label->text();
        }
        auto* list = dialog.findChild<QTreeWidget*>("backupList");
        for (int column = 0; column < list->columnCount(); ++column) {
            headers.push_back(list->headerItem()->text(column));
        }
        for (int row = 0; row < list->topLevelItemCount(); ++row) {
            changes.push_back(list->topLevelItem(row)->text(2));
        }
        // The older backup: the device as it was first downloaded.
        QTreeWidgetItem* older = list->topLevelItem(1);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(older).center());
        QTest::mouseClick(dialog.findChild<QPushButton*>("restoreButton"), Qt::LeftButton);
    });
    CQtMessagePresenter::SetNextAnswer(kAnswerOk); // the directory in the window is replaced
    QTest::keyClick(window.get(), Qt::Key_F, Qt::AltModifier);
    auto* file = window->findChild<QMenu*>("fileMenu");
    ASSERT_NE(file, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([file] { return file->isVisible(); }));
    QTest::keyClick(file, Qt::Key_R);
    StopWatching();

    ASSERT_FALSE(CQtMessagePresenter::Recorded().empty());
    const CMessageBoxRequest& asked = CQtMessagePresenter::Recorded().back();
    EXPECT_EQ(asked.code, kMsgRestoreDirectory);
    EXPECT_EQ(asked.caption.find(u"Service Mode"), std::u16string::npos);
    EXPECT_NE(asked.text.find(u"directory"), std::u16string::npos);
    EXPECT_EQ(asked.text.find(u"settings"), std::u16string::npos);
    EXPECT_TRUE(scope.contains("directory")) << scope.toStdString();
    EXPECT_FALSE(headers.contains("No.")) << headers.join(", ").toStdString();
    ASSERT_GE(changes.size(), 2);
    for (const QString& row : changes) {
        EXPECT_FALSE(row.isEmpty()) << "each row says what restoring it changes";
    }
    EXPECT_EQ(changes[0], "1 speed dial changed");
    EXPECT_EQ(changes[1], "1 speed dial changed");
    EXPECT_EQ(context.device.book.FindFaxMailEntry(1)->name.View(), original);

    CUploadPreviewDialog::SetNextAnswer(true);
    ClickToolbar("uploadAction");
    EXPECT_EQ(DeviceMemory()->device.book.FindFaxMailEntry(1)->name.View(), original);
}

// The page's group check list names each group as the tree does.
TEST_F(WindowTexts, TheGroupCheckListNamesGroupsAsTheTreeDoes)
{
    ConnectAndDownload();
    context.device.book.SetGroupName(2, "Mail team");
    window->RefreshDialBranch();
    QTreeWidgetItem* member = nullptr;
    for (QTreeWidgetItemIterator it(window->Tree()); *it != nullptr; ++it) {
        if (DecodeDialItem((*it)->data(0, Qt::UserRole).toUInt()).kind == DialItemKind::SpeedDialSlot &&
            context.device.book.FindFaxMailEntry(DecodeDialItem((*it)->data(0, Qt::UserRole).toUInt()).number)) {
            member = *it;
            break;
        }
    }
    ASSERT_NE(member, nullptr);
    window->Tree()->setCurrentItem(member);
    auto* checks = window->findChild<QListWidget*>("groupCheckList");
    ASSERT_NE(checks, nullptr);
    ASSERT_EQ(checks->count(), 20);
    for (std::int32_t group = 1; group <= 20; ++group) {
        QTreeWidgetItem* item = TreeItem(GroupItem(group));
        ASSERT_NE(item, nullptr) << group;
        EXPECT_EQ(checks->item(group - 1)->text(), item->text(0)) << group;
    }
    EXPECT_EQ(checks->item(1)->text(), "Mail team");
}

} // namespace
} // namespace qzb
