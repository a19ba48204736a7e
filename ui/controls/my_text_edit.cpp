#include "ui/controls/my_text_edit.h"

#include "ui/controls/edit_context_menu.h"

#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

namespace qzb {

CMyTextEdit::CMyTextEdit(QWidget* parent)
    : QPlainTextEdit(parent)
{
    setTabChangesFocus(true);
}

void CMyTextEdit::Configure(const CEditRules& rules, const CValueStore* store)
{
    m_filter.Configure(rules, store);
}

int CMyTextEdit::Room() const
{
    const QTextCursor cursor = textCursor();
    return m_limit - (toPlainText().size() - (cursor.selectionEnd() - cursor.selectionStart()));
}

void CMyTextEdit::keyPressEvent(QKeyEvent* event)
{
    const EEditKey key = CEditFilter::Classify(*event);
    switch (key) {
        case EEditKey::Copy:
        case EEditKey::Cut:
            if (key == EEditKey::Copy ? m_filter.CopyAllowed(toPlainText()) : m_filter.CutAllowed(toPlainText())) {
                QPlainTextEdit::keyPressEvent(event);
            } else {
                event->accept();
            }
            return;
        case EEditKey::NextControl:
        case EEditKey::PreviousControl:
            focusNextPrevChild(key == EEditKey::NextControl);
            event->accept();
            return;
        case EEditKey::Enter:
            if (!m_filter.LineBreaksAllowed(toPlainText())) {
                event->ignore();
                return;
            }
            if (Room() > 0 && !m_filter.FilterTyped(QStringLiteral("\r"), toPlainText()).isEmpty()) {
                textCursor().insertText(QStringLiteral("\n"));
                ensureCursorVisible();
            }
            event->accept();
            return;
        case EEditKey::Escape:
            event->ignore();
            return;
        case EEditKey::Type: {
            const QString accepted = m_filter.FilterTyped(event->text(), toPlainText()).left(std::max(Room(), 0));
            if (!accepted.isEmpty()) {
                textCursor().insertText(accepted);
                ensureCursorVisible();
            }
            event->accept();
            return;
        }
        case EEditKey::Paste: // goes through insertFromMimeData
        case EEditKey::Editing:
            QPlainTextEdit::keyPressEvent(event);
            return;
    }
}

void CMyTextEdit::inputMethodEvent(QInputMethodEvent* event)
{
    if (event->commitString().isEmpty()) {
        QPlainTextEdit::inputMethodEvent(event);
        return;
    }
    QInputMethodEvent filtered(event->preeditString(), event->attributes());
    filtered.setCommitString(m_filter.FilterTyped(event->commitString(), toPlainText()).left(std::max(Room(), 0)),
                             event->replacementStart(),
                             event->replacementLength());
    QPlainTextEdit::inputMethodEvent(&filtered);
}

bool CMyTextEdit::canInsertFromMimeData(const QMimeData* source) const
{
    return source->hasText() && QPlainTextEdit::canInsertFromMimeData(source);
}

void CMyTextEdit::insertFromMimeData(const QMimeData* source)
{
    if (isReadOnly() || !source->hasText()) {
        return;
    }
    // Line breaks are checked as the carriage returns the field stores.
    QString inserted = source->text();
    inserted.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QString checked = inserted;
    checked.replace(QLatin1Char('\n'), QLatin1Char('\r'));
    const QString text = toPlainText();
    const QTextCursor cursor = textCursor();
    if (inserted.isEmpty() || inserted.size() > Room() ||
        !m_filter.InsertionAllowed(checked, text.left(cursor.selectionStart()), text.mid(cursor.selectionEnd()))) {
        return;
    }
    textCursor().insertText(inserted);
    ensureCursorVisible();
}

QMenu* CMyTextEdit::CreateContextMenu()
{
    CEditMenuState state;
    state.readOnly = isReadOnly();
    state.undoAvailable = document()->isUndoAvailable();
    state.redoAvailable = document()->isRedoAvailable();
    state.hasSelection = textCursor().hasSelection();
    state.hasText = !document()->isEmpty();
    state.copyAllowed = m_filter.CopyAllowed(toPlainText());
    state.cutAllowed = m_filter.CutAllowed(toPlainText());
    return CreateEditMenu(this, state, [this](EEditAction action) {
        RunEditAction(
            *this,
            action,
            [this] {
                paste(); /* through insertFromMimeData */
            },
            [this] { textCursor().removeSelectedText(); });
    });
}

void CMyTextEdit::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu* menu = CreateContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

} // namespace qzb
