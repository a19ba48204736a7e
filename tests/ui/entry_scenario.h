#pragma once

// A user's session with the dial registration page, shared by the scenario tests: the real window
// on the simulated device, driven with keys and clicks, the result read back from the device's
// memory after Upload.

#include "addressbook/address_book.h"
#include "tests/ui/window_fixture.h"
#include "ui/main/upload_preview_dialog.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <functional>
#include <string>
#include <string_view>

namespace qzb {

inline constexpr std::uint32_t kFavouriteNode = 0x1000001;
inline constexpr std::uint32_t kFaxMailNode = 0x1000004;
inline constexpr std::uint32_t kScanNode = 0x1000008;

inline std::uint32_t SlotItem(std::int32_t number)
{
    return 0x200000u + static_cast<std::uint32_t>(number);
}

inline std::uint32_t GroupItem(std::int32_t group)
{
    return 0x400000u + static_cast<std::uint32_t>(group) * 256u;
}

// A user's session with the dial registration page: the real window on the simulated device,
// driven with keys and clicks, the result read back from the device's memory after Upload.
class CEntryScenario : public CWindowFixture
{
protected:
    explicit CEntryScenario(std::string_view language = kEnglishLanguage)
        : CWindowFixture(8314, std::chrono::hours(1), language)
    {
    }

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
        KeyClicks(edit, text);
    }

    // Types the text key by key; a letter beyond ASCII comes as a keyboard layout that has it sends
    // it, as a key event that carries the letter.
    static void KeyClicks(QWidget* widget, const QString& text)
    {
        for (const QChar c : text) {
            if (c.unicode() < 0x80) {
                QTest::keyClick(widget, c.toLatin1());
            } else {
                QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
            }
        }
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

} // namespace qzb
