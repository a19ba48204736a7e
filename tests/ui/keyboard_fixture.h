#pragma once

#include "pages/dial_registration.h"
#include "tests/ui/window_fixture.h"

#include <QApplication>
#include <QDialog>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <functional>
#include <memory>
#include <string>

namespace qzb {

// The shown window worked from the keyboard: keys go to the widget that has the focus, as a
// desktop sends them, and modal dialogs are worked from inside their own event loops.
class CKeyboardFixture : public CShownWindowFixture
{
protected:
    // A message nobody answers must not hold a scenario up when a key does the wrong thing: it
    // goes to stderr instead of a box. Answers queued by a test still take their turn.
    CKeyboardFixture() { CQtMessagePresenter::SetUnattended(true); }
    ~CKeyboardFixture() override { CQtMessagePresenter::SetUnattended(false); }

    // The widget the keys go to; fails the test when the application has none.
    static QWidget* Focused()
    {
        QWidget* focused = QApplication::focusWidget();
        EXPECT_NE(focused, nullptr) << "no widget has the focus";
        return focused;
    }

    static void PressOnFocus(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        if (QWidget* focused = Focused()) {
            QTest::keyClick(focused, key, modifiers);
        }
    }

    // Gives a widget of an active window the focus, as Tab would, and waits until it has it.
    static bool FocusOn(QWidget* widget)
    {
        if (widget == nullptr) {
            return false;
        }
        QWidget* top = widget->window();
        top->activateWindow();
        QApplication::setActiveWindow(top);
        if (!QTest::qWaitForWindowActive(top)) {
            return false;
        }
        widget->setFocus(Qt::TabFocusReason);
        return QTest::qWaitFor([widget] { return widget->hasFocus(); });
    }

    // A closed dialog hands the activation back to the window through the window manager, where
    // there is one; without one the window is activated again as a user's click would.
    void ActivateWindow()
    {
        window->activateWindow();
        QApplication::setActiveWindow(window.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    // A menu of the menu bar opened with Alt and its mnemonic, then its entry chosen by its own.
    void ChooseMenu(Qt::Key menuMnemonic, const char* menuName, Qt::Key entryMnemonic)
    {
        ActivateWindow();
        QTest::keyClick(window.get(), menuMnemonic, Qt::AltModifier);
        auto* menu = window->findChild<QMenu*>(menuName);
        ASSERT_NE(menu, nullptr) << menuName;
        ASSERT_TRUE(QTest::qWaitFor([menu] { return menu->isVisible(); })) << menuName;
        QTest::keyClick(menu, entryMnemonic);
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

    std::uint32_t TreeValue() const
    {
        const QTreeWidgetItem* current = window->Tree()->currentItem();
        return current != nullptr ? current->data(0, Qt::UserRole).toUInt() : 0;
    }

    void SelectTreeItem(std::uint32_t value)
    {
        QTreeWidget* tree = window->Tree();
        QTreeWidgetItem* item = TreeItem(value);
        ASSERT_NE(item, nullptr) << std::hex << value;
        for (QTreeWidgetItem* parent = item->parent(); parent != nullptr; parent = parent->parent()) {
            parent->setExpanded(true);
        }
        tree->scrollToItem(item);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(item).center());
        ASSERT_EQ(tree->currentItem(), item);
    }

    void ConnectAndDownload()
    {
        ClickToolbar("connectAction");
        ASSERT_TRUE(window->StateWord() & kStateOnline);
        ClickToolbar("downloadAction");
        ASSERT_TRUE(window->StateWord() & kStateDeviceData);
    }
};

} // namespace qzb
