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

} // namespace qzb
