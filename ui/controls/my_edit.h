#pragma once

#include "ui/controls/edit_filter.h"

#include <QLineEdit>

class QMenu;

namespace qzb {

// The restricted single-line edit: takes only what the field's input kind allows, optionally keeps
// its text from being copied, moves through the dialog on Tab and leaves Enter and Escape to it.
class CMyEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit CMyEdit(QWidget* parent = nullptr);

    void Configure(const CEditRules& rules, const CValueStore* store);
    const CEditRules& Rules() const { return m_filter.Rules(); }
    // The most characters the edit takes; the platform edit's limit.
    void SetLimit(int limit) { setMaxLength(limit); }

    // Inserts the clipboard's text at the cursor if every character of it passes.
    void PasteChecked();
    // The platform's context menu without copy and cut where they are refused, pasting through the check.
    QMenu* CreateContextMenu();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool InsertChecked(const QString& inserted);

    CEditFilter m_filter;
};

} // namespace qzb
