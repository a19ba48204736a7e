#pragma once

#include "pages/dial_commands.h"
#include "pages/dial_registration.h"

#include <QWidget>

#include <cstdint>
#include <vector>

class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QRadioButton;
class QTreeWidget;

namespace qzb {

class CMessenger;
struct CAppContext;

// The dial registration controls beside the tree: the path of the selection, how full its list
// is, a filter, the entry list, New / Edit / Delete, the jump between fax/e-mail and
// scan-to-server, and the group check list of a fax/e-mail number. What they show and allow is
// decided by the page's plain functions; this widget only draws it.
class CDialRegistrationView : public QWidget
{
    Q_OBJECT

public:
    CDialRegistrationView(CAppContext& context, CMessenger& messenger, QWidget* parent = nullptr);

    // Shows the item of the tree's dial registration branch.
    void ShowItem(std::uint32_t item);
    std::uint32_t Item() const { return m_item; }
    void Refresh() { ShowItem(m_item); }

signals:
    // New or Edit asks for an editor.
    void EditorRequested(const CDialCommand& command);
    // The radio pair asks the tree to jump between the two speed-dial nodes.
    void JumpRequested(const CDialRadioJump& jump);
    // The book changed (a delete, the group check list).
    void BookChanged();
    // No button is left for the focus.
    void TreeFocusRequested();

private:
    CDialTexts Texts() const;
    void FillList();
    void UpdateStates();
    void OnGroupCheckChanged(QListWidgetItem* row);
    void FocusAfter(DialFocus pressed);
    // A node without a list (the branch root, the speed dial node) leaves its place in the window's
    // right pane to the page host, which shows the connection band there.

    CAppContext& m_context;
    CMessenger& m_messenger;
    std::uint32_t m_item = 0;
    std::vector<CDialRow> m_rows; // all rows of the selection
    std::vector<CDialRow> m_shown; // the rows the filter leaves
    QLabel* m_path = nullptr;
    QLabel* m_usage = nullptr;
    QLineEdit* m_filter = nullptr;
    QTreeWidget* m_list = nullptr;
    QPushButton* m_new = nullptr;
    QPushButton* m_edit = nullptr;
    QPushButton* m_delete = nullptr;
    QRadioButton* m_faxMail = nullptr;
    QRadioButton* m_scan = nullptr;
    QListWidget* m_groups = nullptr;
    bool m_filling = false;
};

} // namespace qzb
