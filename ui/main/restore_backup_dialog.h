#pragma once

#include "files/backups.h"
#include "session/session_ports.h"

#include <QDialog>

#include <functional>
#include <vector>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;

namespace qzb {

// File ▸ Restore Backup: what a restore brings back, the model's download backups newest first
// with what restoring each would change in the window's data, and the selected one's changes in
// full below the list.
class CRestoreBackupDialog : public QDialog
{
    Q_OBJECT

public:
    struct CTexts
    {
        QString title, scope, date, time, changes, unreadable, none, compare, restore, cancel;
    };

    CRestoreBackupDialog(const std::vector<CBackupFile>& backups,
                         std::function<CSessionPreview(std::size_t)> compare,
                         const CTexts& texts,
                         QWidget* parent = nullptr);

    // The position of the chosen backup in the list, or -1.
    int Chosen() const;

private:
    void ShowComparison();

    std::function<CSessionPreview(std::size_t)> m_compare;
    QTreeWidget* m_list = nullptr;
    QLabel* m_summary = nullptr;
    QPlainTextEdit* m_details = nullptr;
    QPushButton* m_restore = nullptr;
};

} // namespace qzb
