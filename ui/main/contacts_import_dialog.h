#pragma once

#include "session/session_ports.h"

#include <QDialog>

#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QTreeWidget;

namespace qzb {

// File ▸ Import Contacts: the import's options above, and below them each entry the import would
// make (card, speed dial, name as the panel shows it, number or address) with every note. The
// preview follows each change of an option; nothing changes before Import.
class CContactsImportDialog : public QDialog
{
    Q_OBJECT

public:
    using Preview = std::function<CContactsPreview(const CContactsOptions&)>;

    CContactsImportDialog(const CContactsOptions& options,
                          Preview preview,
                          const std::function<QString(std::string_view)>& text,
                          QWidget* parent = nullptr);

    CContactsOptions Options() const;

private:
    void Refresh();

    Preview m_preview;
    QComboBox* m_kind = nullptr;
    QLineEdit* m_group = nullptr;
    QSpinBox* m_firstSlot = nullptr;
    QLineEdit* m_prefix = nullptr;
    QLabel* m_summary = nullptr;
    QTreeWidget* m_entries = nullptr;
    QPlainTextEdit* m_notes = nullptr;
    QPushButton* m_import = nullptr;
};

} // namespace qzb
