#include "ui/controls/edit_context_menu.h"

#include <QAction>
#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeySequence>
#include <QMenu>

namespace qzb {

namespace {

struct CMenuEntry
{
    EEditAction action;
    const char* name;
    const char* text; // in the platform edit's translation context
    QKeySequence::StandardKey key;
};

constexpr CMenuEntry kEntries[] = {
    {EEditAction::Undo, "edit-undo", QT_TRANSLATE_NOOP("QLineEdit", "&Undo"), QKeySequence::Undo},
    {EEditAction::Redo, "edit-redo", QT_TRANSLATE_NOOP("QLineEdit", "&Redo"), QKeySequence::Redo},
    {EEditAction::Cut, "edit-cut", QT_TRANSLATE_NOOP("QLineEdit", "Cu&t"), QKeySequence::Cut},
    {EEditAction::Copy, "edit-copy", QT_TRANSLATE_NOOP("QLineEdit", "&Copy"), QKeySequence::Copy},
    {EEditAction::Paste, "edit-paste", QT_TRANSLATE_NOOP("QLineEdit", "&Paste"), QKeySequence::Paste},
    {EEditAction::Delete, "edit-delete", QT_TRANSLATE_NOOP("QLineEdit", "Delete"), QKeySequence::UnknownKey},
    {EEditAction::SelectAll, "select-all", QT_TRANSLATE_NOOP("QLineEdit", "Select All"), QKeySequence::SelectAll},
};

bool IsEnabled(EEditAction action, const CEditMenuState& state)
{
    switch (action) {
        case EEditAction::Undo:
            return !state.readOnly && state.undoAvailable;
        case EEditAction::Redo:
            return !state.readOnly && state.redoAvailable;
        case EEditAction::Cut:
        case EEditAction::Delete:
            return !state.readOnly && state.hasSelection;
        case EEditAction::Copy:
            return state.hasSelection;
        case EEditAction::Paste:
            return !state.readOnly && !QGuiApplication::clipboard()->text().isEmpty();
        case EEditAction::SelectAll:
            return state.hasText;
    }
    return false;
}

} // namespace

QMenu* CreateEditMenu(QWidget* parent, const CEditMenuState& state, const std::function<void(EEditAction)>& run)
{
    auto* menu = new QMenu(parent);
    for (const CMenuEntry& entry : kEntries) {
        if ((entry.action == EEditAction::Copy && !state.copyAllowed) ||
            (entry.action == EEditAction::Cut && !state.cutAllowed)) {
            continue;
        }
        QString text = QCoreApplication::translate("QLineEdit", entry.text);
        if (entry.key != QKeySequence::UnknownKey && !QKeySequence(entry.key).isEmpty()) {
            text += QLatin1Char('\t') + QKeySequence(entry.key).toString(QKeySequence::NativeText);
        }
        QAction* action = menu->addAction(text);
        action->setObjectName(QLatin1String(entry.name));
        action->setEnabled(IsEnabled(entry.action, state));
        const EEditAction which = entry.action;
        QObject::connect(action, &QAction::triggered, menu, [run, which] { run(which); });
        if (which == EEditAction::Redo || which == EEditAction::Delete) {
            menu->addSeparator();
        }
    }
    return menu;
}

} // namespace qzb
