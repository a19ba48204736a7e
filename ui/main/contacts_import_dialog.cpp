#include "ui/main/contacts_import_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace qzb {

CContactsImportDialog::CContactsImportDialog(const CContactsOptions& options,
                                             Preview preview,
                                             const std::function<QString(std::string_view)>& text,
                                             QWidget* parent)
    : QDialog(parent)
    , m_preview(std::move(preview))
{
    setObjectName("contactsImportDialog");
    setWindowTitle(text("STR_DLG_CONTACTS_IMPORT"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    // Each field is said by the name of its row, without the colon.
    auto addRow = [&](std::string_view key, QWidget* field) {
        const QString label = text(key);
        form->addRow(label, field);
        field->setAccessibleName(QString(label).remove(QRegularExpression(":\\s*$")));
    };
    m_kind = new QComboBox(this);
    m_kind->setObjectName("contactsKindCombo");
    m_kind->addItem(text("STR_CONTACTS_KIND_FAX"), static_cast<int>(ContactKinds::Fax));
    m_kind->addItem(text("STR_CONTACTS_KIND_EMAIL"), static_cast<int>(ContactKinds::Mail));
    m_kind->addItem(text("STR_CONTACTS_KIND_BOTH"), static_cast<int>(ContactKinds::Both));
    m_kind->setCurrentIndex(m_kind->findData(static_cast<int>(options.kinds)));
    addRow("STR_CONTACTS_KIND", m_kind);
    m_group = new QLineEdit(QString::fromStdU16String(options.group), this);
    m_group->setObjectName("contactsGroupEdit");
    m_group->setMaxLength(20);
    addRow("STR_CONTACTS_GROUP", m_group);
    m_firstSlot = new QSpinBox(this);
    m_firstSlot->setObjectName("contactsFirstSlotSpin");
    m_firstSlot->setRange(kFirstFaxMailNumber, kLastFaxMailNumber);
    m_firstSlot->setValue(options.firstSlot);
    addRow("STR_CONTACTS_FIRST_SLOT", m_firstSlot);
    m_prefix = new QLineEdit(QString::fromStdU16String(options.internationalPrefix), this);
    m_prefix->setObjectName("contactsPrefixEdit");
    m_prefix->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]{0,8}"), m_prefix));
    addRow("STR_CONTACTS_PREFIX", m_prefix);
    layout->addLayout(form);

    m_summary = new QLabel(this);
    m_summary->setObjectName("contactsSummaryLabel");
    layout->addWidget(m_summary);
    m_entries = new QTreeWidget(this);
    m_entries->setObjectName("contactsEntryList");
    m_entries->setAccessibleName(windowTitle());
    m_entries->setRootIsDecorated(false);
    m_entries->setHeaderLabels({text("STR_CONTACTS_COL_CARD"),
                                text("STR_CONTACTS_COL_SLOT"),
                                text("STR_CONTACTS_COL_NAME"),
                                text("STR_CONTACTS_COL_ADDRESS")});
    m_entries->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_entries->setMinimumSize(560, 180);
    layout->addWidget(m_entries);
    m_notes = new QPlainTextEdit(this);
    m_notes->setObjectName("contactsNotes");
    m_notes->setAccessibleName(windowTitle());
    m_notes->setReadOnly(true);
    m_notes->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_notes->setMinimumHeight(100);
    layout->addWidget(m_notes);

    auto* buttons = new QDialogButtonBox(this);
    m_import = buttons->addButton(text("STR_CONTACTS_IMPORT"), QDialogButtonBox::AcceptRole);
    m_import->setObjectName("contactsImportButton");
    QPushButton* cancel = buttons->addButton(text("STR_PREVIEW_CANCEL"), QDialogButtonBox::RejectRole);
    cancel->setObjectName("contactsCancelButton");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    connect(m_kind, &QComboBox::currentIndexChanged, this, &CContactsImportDialog::Refresh);
    connect(m_group, &QLineEdit::textChanged, this, &CContactsImportDialog::Refresh);
    connect(m_firstSlot, &QSpinBox::valueChanged, this, &CContactsImportDialog::Refresh);
    connect(m_prefix, &QLineEdit::textChanged, this, &CContactsImportDialog::Refresh);
    Refresh();
}

CContactsOptions CContactsImportDialog::Options() const
{
    CContactsOptions options;
    options.kinds = static_cast<ContactKinds>(m_kind->currentData().toInt());
    options.group = m_group->text().trimmed().toStdU16String();
    options.firstSlot = m_firstSlot->value();
    options.internationalPrefix = m_prefix->text().toStdU16String();
    return options;
}

void CContactsImportDialog::Refresh()
{
    if (!m_preview) {
        return;
    }
    const CContactsPreview preview = m_preview(Options());
    m_summary->setText(QString::fromStdU16String(preview.summary));
    m_entries->clear();
    for (const CContactRow& row : preview.rows) {
        new QTreeWidgetItem(m_entries,
                            {QString::number(row.card) + ' ' + QString::fromStdU16String(row.cardName),
                             QString::number(row.slot),
                             QString::fromStdU16String(row.name),
                             QString::fromStdU16String(row.address)});
    }
    QStringList notes;
    for (const std::u16string& note : preview.notes) {
        notes.push_back(QString::fromStdU16String(note));
    }
    m_notes->setPlainText(notes.join('\n'));
    m_import->setEnabled(!preview.rows.empty());
}

} // namespace qzb
