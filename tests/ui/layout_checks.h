#pragma once

#include "app/language_choice.h"
#include "tests/support/languages.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTabBar>
#include <QTextEdit>
#include <QToolBar>
#include <QWidget>

#include <string>
#include <string_view>
#include <vector>

namespace qzb {

// A field the user types in or picks from: a screen reader must say its name.
inline bool IsInputControl(const QWidget* widget)
{
    return qobject_cast<const QLineEdit*>(widget) != nullptr || qobject_cast<const QComboBox*>(widget) != nullptr ||
           qobject_cast<const QAbstractSpinBox*>(widget) != nullptr ||
           qobject_cast<const QTextEdit*>(widget) != nullptr ||
           qobject_cast<const QPlainTextEdit*>(widget) != nullptr ||
           qobject_cast<const QAbstractItemView*>(widget) != nullptr ||
           (qobject_cast<const QAbstractSlider*>(widget) != nullptr &&
            qobject_cast<const QScrollBar*>(widget) == nullptr);
}

inline bool IsTextControl(const QWidget* widget)
{
    return qobject_cast<const QLabel*>(widget) != nullptr || qobject_cast<const QAbstractButton*>(widget) != nullptr;
}

// A control drawn whole by Qt out of parts of its own (a spin box's line edit, a list's header, a
// tool bar's buttons): its parts are not controls of the layout.
inline bool IsComposite(const QWidget* widget)
{
    return IsInputControl(widget) || qobject_cast<const QTabBar*>(widget) != nullptr ||
           qobject_cast<const QToolBar*>(widget) != nullptr || qobject_cast<const QMenuBar*>(widget) != nullptr;
}

// The controls of a window part the user sees: labels, buttons and input fields shown in it, not
// the parts Qt builds controls from.
inline std::vector<QWidget*> ShownControls(QWidget& root)
{
    std::vector<QWidget*> shown;
    for (QWidget* widget : root.findChildren<QWidget*>()) {
        if (!widget->isVisibleTo(&root) || widget->isWindow() || widget->objectName().startsWith("qt_")) {
            continue;
        }
        bool inside = false;
        for (QWidget* parent = widget->parentWidget(); parent != nullptr && parent != &root;
             parent = parent->parentWidget()) {
            inside = inside || IsComposite(parent) || parent->isWindow();
        }
        if (!inside && (IsTextControl(widget) || IsInputControl(widget))) {
            shown.push_back(widget);
        }
    }
    return shown;
}

// No shown control covers another, a label or button is as wide as its text needs (a label that
// wraps its words excepted), and every input control has a name a screen reader says.
inline void ExpectControlsFit(QWidget& root, const std::vector<QWidget*>& shown, const std::string& where)
{
    // Where a control shows in root: a scroll area's rows cut at its edges, none when scrolled away.
    auto area = [&root](const QWidget* widget) {
        QRect shownArea(widget->mapTo(&root, QPoint(0, 0)), widget->size());
        for (const QWidget* parent = widget->parentWidget(); parent != nullptr && parent != &root;
             parent = parent->parentWidget()) {
            shownArea &= QRect(parent->mapTo(&root, QPoint(0, 0)), parent->size());
        }
        return shownArea;
    };
    for (std::size_t i = 0; i < shown.size(); ++i) {
        const std::string name = shown[i]->objectName().toStdString();
        for (std::size_t j = i + 1; j < shown.size(); ++j) {
            EXPECT_FALSE(area(shown[i]).intersects(area(shown[j])))
                << where << ": " << name << " covers " << shown[j]->objectName().toStdString();
        }
        if (IsTextControl(shown[i])) {
            const auto* label = qobject_cast<const QLabel*>(shown[i]);
            if (label == nullptr || !label->wordWrap()) {
                EXPECT_GE(shown[i]->width(), shown[i]->sizeHint().width()) << where << ": " << name;
            }
        } else {
            EXPECT_FALSE(shown[i]->accessibleName().isEmpty()) << where << ": " << name;
        }
    }
}

} // namespace qzb
