#include "ui/main/entry_dialog.h"

#include "app/app_context.h"
#include "app/messenger.h"
#include "model/model_defaults.h"
#include "ui/main/qt_message_presenter.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <filesystem>

namespace qzb {
namespace {

// The fax/e-mail editor's details dialog and group list, driven as a user would.
TEST(EntryDialog, FaxDetailsAndGroupsGoThroughTheirOwnControls)
{
    CAppContext context(8314);
    context.strings.LoadFile(std::filesystem::path(QZB_TEST_DATA_DIR) / StringTableFileName(*context.profile));
    ApplyModelDefaults(context.store, context.modelBit);
    CQtMessagePresenter presenter;
    CMessenger messenger(context.strings, presenter);
    const CEntryEnv env{&context.store, &context.strings, context.modelBit};
    CAddressBook& book = context.device.book;
    CEntryDialog dialog(std::make_unique<CEntryEditing<CFaxMailEditor>>(book, 6, env), book, context, messenger);
    EXPECT_EQ(dialog.windowTitle(), "Speed Dial 006 - Fax/E-mail");
    QTest::keyClicks(dialog.findChild<QLineEdit*>("nameField"), "Depot");
    QTest::keyClicks(dialog.findChild<QLineEdit*>("numberField"), "0123");

    bool detailed = false;
    QTimer::singleShot(0, [&detailed] {
        auto* details = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(details, nullptr);
        QTest::keyClicks(details->findChild<QLineEdit*>("hourField"), "7");
        QTest::keyClicks(details->findChild<QLineEdit*>("minuteField"), "05");
        details->findChild<QPushButton*>("okButton")->click();
        detailed = true;
    });
    dialog.findChild<QPushButton*>("detailsButton")->click();
    ASSERT_TRUE(detailed);
    EXPECT_EQ(dialog.findChild<QLabel*>("batchFieldValue")->text(), "07:05");

    auto* groups = dialog.findChild<QListWidget*>();
    ASSERT_NE(groups, nullptr);
    groups->item(2)->setCheckState(Qt::Checked);
    dialog.accept();
    ASSERT_EQ(dialog.result(), QDialog::Accepted);
    const CFaxMailEntry* entry = book.FindFaxMailEntry(6);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->batchHour, 7);
    EXPECT_EQ(entry->batchMinute, 5);
    ASSERT_NE(book.FindGroup(3), nullptr);
    EXPECT_EQ(book.FindGroup(3)->members, (std::vector<std::int32_t>{6}));
}

TEST(EntryDialog, FavouriteChoosesFromTheListOfItsKind)
{
    CAppContext context(8314);
    ApplyModelDefaults(context.store, context.modelBit);
    CQtMessagePresenter presenter;
    CMessenger messenger(context.strings, presenter);
    const CEntryEnv env{&context.store, &context.strings, context.modelBit};
    CAddressBook& book = context.device.book;
    CFaxMailEntry entry;
    entry.number = 3;
    entry.address.Assign("123");
    ASSERT_EQ(book.PutFaxMailEntry(entry), kOk);
    ASSERT_EQ(book.SetGroupMembership(2, 3, true, kKindFax), kOk);

    CEntryDialog dialog(std::make_unique<CEntryEditing<CFavouriteEditor>>(book, 1, env), book, context, messenger);
    auto* list = dialog.findChild<QTreeWidget*>("favouriteList");
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->topLevelItemCount(), 1);
    // Numbered as the address-book tree numbers speed dials and groups.
    EXPECT_EQ(list->topLevelItem(0)->text(0), "003");
    dialog.findChild<QRadioButton*>("groupField")->click();
    ASSERT_EQ(list->topLevelItemCount(), 1);
    EXPECT_EQ(list->topLevelItem(0)->text(0), "02");
    list->setCurrentItem(list->topLevelItem(0));
    dialog.accept();
    ASSERT_EQ(book.Favourites().size(), 1u);
    EXPECT_EQ(book.Favourites()[0].targetKind, kTargetGroup);
    EXPECT_EQ(book.Favourites()[0].targetNumber, 2);
}

// The scan-to-server form is taller than a small screen: its fields scroll and OK stays on screen.
// Its frames are titled after the protocol, the port states its range and the ten notification
// fields stand under their title.
TEST(EntryDialog, ScanFormShowsItsFramesAndFitsTheScreen)
{
    CAppContext context(8313);
    context.strings.LoadFile(std::filesystem::path(QZB_TEST_DATA_DIR) / StringTableFileName(*context.profile));
    ApplyModelDefaults(context.store, context.modelBit);
    CQtMessagePresenter presenter;
    CMessenger messenger(context.strings, presenter);
    const CEntryEnv env{&context.store, &context.strings, context.modelBit};
    CAddressBook& book = context.device.book;
    CEntryDialog dialog(std::make_unique<CEntryEditing<CScanEditor>>(book, 221, env), book, context, messenger);
    dialog.adjustSize();
    ASSERT_NE(dialog.screen(), nullptr);
    EXPECT_LE(dialog.height(), dialog.screen()->availableGeometry().height());
    EXPECT_NE(dialog.findChild<QLineEdit*>("notify10Field"), nullptr);

    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    auto* frame = dialog.findChild<QLabel*>("nameFieldFrameTitle");
    auto* note = dialog.findChild<QLabel*>("portFieldNote");
    auto* notification = dialog.findChild<QLabel*>("notify1FieldFrameTitle");
    ASSERT_TRUE(frame != nullptr && note != nullptr && notification != nullptr);
    EXPECT_EQ(frame->text(), "FTP");
    EXPECT_TRUE(frame->isVisible());
    EXPECT_EQ(note->text(), "(1-65535)");
    EXPECT_TRUE(note->isVisible());
    EXPECT_EQ(notification->text(), "Notification Address");
    EXPECT_TRUE(notification->isVisible());

    // SMB has no port: the field goes with its range, and the frame is titled SMB.
    auto* protocol = dialog.findChild<QWidget*>("protocolField");
    ASSERT_NE(protocol, nullptr);
    protocol->setFocus();
    QTest::keyClick(protocol, Qt::Key_Down);
    EXPECT_TRUE(QTest::qWaitFor([&] { return frame->text() == QString("SMB"); })) << frame->text().toStdString();
    EXPECT_FALSE(note->isVisible());
}

} // namespace
} // namespace qzb
