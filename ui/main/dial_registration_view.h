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
class QTreeWidgetItem;

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
    // A row of the entry list was selected: the tree selects the item it stands for.
    void RowSelected(std::uint32_t item);

private:
    CDialTexts Texts() const;
    void FillList();
    void UpdateStates();
    void OnGroupCheckChanged(QListWidgetItem* row);
    void FocusAfter(DialFocus pressed);
    // Selects the row's item in the tree, so that the buttons act on it.
    void FollowRow(QTreeWidgetItem* line);
    void OpenCurrentRow();
    bool eventFilter(QObject* watched, QEvent* event) override;
    // A node without a list (the branch root, the speed dial node) leaves its place in the window's
    // right pane to the page host, which shows the connection band there.

    CAppContext& m_context;
    CMessenger& m_messenger;
    std::uint32_t m_item = 0; // the tree's item, which the buttons act on
    std::uint32_t m_listItem = 0; // the item whose rows the list shows: m_item, or the list m_item is a row of
    std::uint32_t m_rowItem = 0; // the item a row asked the tree to select, until it is shown
    std::size_t m_itemRows = 0; // the rows m_item's own list holds, as the button states count them
    std::vector<CDialRow> m_rows; // all rows of m_listItem
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
    bool m_fillingList = false;
};

} // namespace qzb
