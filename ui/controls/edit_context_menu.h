#pragma once

#include <functional>

class QMenu;
class QWidget;

namespace qzb {

enum class EEditAction { Undo, Redo, Cut, Copy, Paste, Delete, SelectAll };

struct CEditMenuState
{
    bool readOnly = false;
    bool undoAvailable = false;
    bool redoAvailable = false;
    bool hasSelection = false;
    bool hasText = false;
    bool copyAllowed = true;
    bool cutAllowed = true;
};

// The restricted edits' context menu: the platform edit's entries, named edit-undo, edit-copy and so
// on, without copy and cut where the field refuses them. Every entry runs through run, so that a paste
// takes the edit's own checked way.
QMenu* CreateEditMenu(QWidget* parent, const CEditMenuState& state, const std::function<void(EEditAction)>& run);

// Carries out a menu action on an edit: undo, redo, cut, copy and select all are the platform
// edit's own; paste and delete differ between the single-line and the multi-line edit.
template <class TEdit>
void RunEditAction(TEdit& edit,
                   EEditAction action,
                   const std::function<void()>& paste,
                   const std::function<void()>& remove)
{
    switch (action) {
        case EEditAction::Undo:
            edit.undo();
            break;
        case EEditAction::Redo:
            edit.redo();
            break;
        case EEditAction::Cut:
            edit.cut();
            break;
        case EEditAction::Copy:
            edit.copy();
            break;
        case EEditAction::Paste:
            paste();
            break;
        case EEditAction::Delete:
            remove();
            break;
        case EEditAction::SelectAll:
            edit.selectAll();
            break;
    }
}

} // namespace qzb
