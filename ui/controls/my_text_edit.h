#pragma once

#include "ui/controls/edit_filter.h"

#include <QPlainTextEdit>

class QMenu;

namespace qzb {

// The multi-line form of CMyEdit, for the kinds that take line breaks. It shares the typing filter;
// pasted and dropped text passes the same check as in CMyEdit, and the limit counts characters with a
// line break as one.
class CMyTextEdit : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit CMyTextEdit(QWidget* parent = nullptr);

    void Configure(const CEditRules& rules, const CValueStore* store);
    const CEditRules& Rules() const { return m_filter.Rules(); }
    void SetLimit(int limit) { m_limit = limit; }
    int Limit() const { return m_limit; }

    QMenu* CreateContextMenu();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    // Room left under the limit once the selection is replaced.
    int Room() const;

    CEditFilter m_filter;
    int m_limit = 32767;
};

} // namespace qzb
