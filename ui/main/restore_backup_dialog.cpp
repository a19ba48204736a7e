#include "ui/main/restore_backup_dialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextOption>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace qzb {

CRestoreBackupDialog::CRestoreBackupDialog(const std::vector<CBackupFile>& backups,
                                           std::function<CSessionPreview(std::size_t)> compare,
                                           const CTexts& texts,
                                           QWidget* parent)
    : QDialog(parent)
    , m_compare(std::move(compare))
{
    setObjectName("restoreBackupDialog");
    setWindowTitle(texts.title);
    auto* layout = new QVBoxLayout(this);
    auto* scope = new QLabel(texts.scope, this);
    scope->setObjectName("backupScopeLabel");
    scope->setWordWrap(true);
    layout->addWidget(scope);
    m_list = new QTreeWidget(this);
    m_list->setObjectName("backupList");
    m_list->setAccessibleName(texts.title);
    m_list->setRootIsDecorated(false);
    m_list->setHeaderLabels({texts.date, texts.time, texts.changes});
    m_list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_list->header()->setStretchLastSection(true);
    for (std::size_t index = 0; index < backups.size(); ++index) {
        const CBackupFile& backup = backups[index];
        // Each row says what restoring it would change, so that backups of one day tell apart.
        QString changes = texts.unreadable;
        if (m_compare) {
            const CSessionPreview preview = m_compare(index);
            if (preview.deviceKnown) {
                changes = QString::fromStdU16String(preview.summary);
            }
        }
        // Backups of one second are told apart by their number within it, shown from the second on.
        QString time = QString::fromStdString(backup.Time());
        if (backup.order.serial > 1) {
            time += QStringLiteral(" (%1)").arg(backup.order.serial);
        }
        auto* item = new QTreeWidgetItem(m_list, {QString::fromStdString(backup.Date()), time, changes});
        item->setToolTip(0, QString::fromStdString(backup.path.string()));
        item->setToolTip(2, changes);
    }
    m_list->setMinimumHeight(140);
    layout->addWidget(m_list);
    m_summary = new QLabel(backups.empty() ? texts.none : texts.compare, this);
    m_summary->setObjectName("backupSummaryLabel");
    m_summary->setWordWrap(true);
    layout->addWidget(m_summary);
    m_details = new QPlainTextEdit(this);
    m_details->setObjectName("backupComparison");
    m_details->setAccessibleName(texts.changes);
    m_details->setReadOnly(true);
    m_details->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_details->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    m_details->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_details->setMinimumSize(520, 200);
    layout->addWidget(m_details);
    auto* buttons = new QDialogButtonBox(this);
    m_restore = buttons->addButton(texts.restore, QDialogButtonBox::AcceptRole);
    m_restore->setObjectName("restoreButton");
    m_restore->setEnabled(false);
    QPushButton* cancel = buttons->addButton(texts.cancel, QDialogButtonBox::RejectRole);
    cancel->setObjectName("restoreCancelButton");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    connect(m_list, &QTreeWidget::currentItemChanged, this, &CRestoreBackupDialog::ShowComparison);
    if (m_list->topLevelItemCount() > 0) {
        m_list->setCurrentItem(m_list->topLevelItem(0));
    }
    m_list->setFocus();
}

int CRestoreBackupDialog::Chosen() const
{
    return m_list->currentItem() != nullptr ? m_list->indexOfTopLevelItem(m_list->currentItem()) : -1;
}

void CRestoreBackupDialog::ShowComparison()
{
    const int chosen = Chosen();
    m_restore->setEnabled(chosen >= 0);
    if (chosen < 0 || !m_compare) {
        m_details->clear();
        return;
    }
    const CSessionPreview preview = m_compare(static_cast<std::size_t>(chosen));
    QStringList lines{QString::fromStdU16String(preview.summary)};
    for (const std::u16string& line : preview.lines) {
        lines.push_back(QString::fromStdU16String(line));
    }
    m_details->setPlainText(lines.join('\n'));
}

} // namespace qzb
