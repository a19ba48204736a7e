#include "ui/controls/my_edit.h"

#include "ui/controls/edit_context_menu.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>

namespace qzb {

CMyEdit::CMyEdit(QWidget* parent)
    : QLineEdit(parent)
{
    setAcceptDrops(false);
}

void CMyEdit::Configure(const CEditRules& rules, const CValueStore* store)
{
    m_filter.Configure(rules, store);
}

void CMyEdit::keyPressEvent(QKeyEvent* event)
{
    switch (CEditFilter::Classify(*event)) {
        case EEditKey::Copy:
            if (m_filter.CopyAllowed(text())) {
                QLineEdit::keyPressEvent(event);
            } else {
                event->accept();
            }
            return;
        case EEditKey::Cut:
            if (m_filter.CutAllowed(text())) {
                QLineEdit::keyPressEvent(event);
            } else {
                event->accept();
            }
            return;
        case EEditKey::Paste:
            PasteChecked();
            event->accept();
            return;
        case EEditKey::NextControl:
        case EEditKey::PreviousControl:
            focusNextPrevChild(CEditFilter::Classify(*event) == EEditKey::NextControl);
            event->accept();
            return;
        case EEditKey::Enter:
            // The edit reports the finished entry, then the dialog gets the key for its default button.
            QLineEdit::keyPressEvent(event);
            event->ignore();
            return;
        case EEditKey::Escape:
            event->ignore();
            return;
        case EEditKey::Type: {
            const QString accepted = m_filter.FilterTyped(event->text(), text());
            if (accepted == event->text()) {
                QLineEdit::keyPressEvent(event);
            } else {
                if (!accepted.isEmpty()) {
                    insert(accepted);
                }
                event->accept();
            }
            return;
        }
        case EEditKey::Editing:
            QLineEdit::keyPressEvent(event);
            return;
    }
}

void CMyEdit::inputMethodEvent(QInputMethodEvent* event)
{
    if (event->commitString().isEmpty()) {
        QLineEdit::inputMethodEvent(event);
        return;
    }
    QInputMethodEvent filtered(event->preeditString(), event->attributes());
    filtered.setCommitString(
        m_filter.FilterTyped(event->commitString(), text()), event->replacementStart(), event->replacementLength());
    QLineEdit::inputMethodEvent(&filtered);
}

bool CMyEdit::InsertChecked(const QString& inserted)
{
    const QString current = text();
    const int start = hasSelectedText() ? selectionStart() : cursorPosition();
    const int end = hasSelectedText() ? selectionEnd() : cursorPosition();
    if (inserted.isEmpty() || !m_filter.InsertionAllowed(inserted, current.left(start), current.mid(end))) {
        return false;
    }
    insert(inserted);
    return true;
}

void CMyEdit::PasteChecked()
{
    if (!isReadOnly()) {
        InsertChecked(QGuiApplication::clipboard()->text());
    }
}

QMenu* CMyEdit::CreateContextMenu()
{
    CEditMenuState state;
    state.readOnly = isReadOnly();
    state.undoAvailable = isUndoAvailable();
    state.redoAvailable = isRedoAvailable();
    state.hasSelection = hasSelectedText();
    state.hasText = !text().isEmpty();
    state.copyAllowed = m_filter.CopyAllowed(text()) && echoMode() == QLineEdit::Normal;
    state.cutAllowed = m_filter.CutAllowed(text()) && echoMode() == QLineEdit::Normal;
    return CreateEditMenu(this, state, [this](EEditAction action) {
        RunEditAction(
            *this, action, [this] { PasteChecked(); }, [this] { del(); });
    });
}

void CMyEdit::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu* menu = CreateContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

void CMyEdit::mouseReleaseEvent(QMouseEvent* event)
{
    // The X11 selection pasted by the middle button passes the same check as any paste.
    if (event->button() == Qt::MiddleButton && QGuiApplication::clipboard()->supportsSelection()) {
        if (!isReadOnly()) {
            deselect();
            InsertChecked(QGuiApplication::clipboard()->text(QClipboard::Selection));
        }
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

} // namespace qzb
