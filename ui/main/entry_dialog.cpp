#include "ui/main/entry_dialog.h"

#include "addressbook/address_records.h"
#include "app/app_context.h"
#include "app/english_texts.h"
#include "app/messenger.h"
#include "base/text_format.h"
#include "model/input_chars.h"
#include "ui/controls/my_combo_box.h"
#include "ui/controls/my_edit.h"
#include "ui/pages/screen_fit.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace qzb {

namespace {

QString ObjectName(std::string_view field)
{
    return QString::fromLatin1(field.data(), static_cast<qsizetype>(field.size())) + "Field";
}

} // namespace

CEntryDialog::CEntryDialog(std::unique_ptr<IEntryEditing> editing,
                           CAddressBook& book,
                           CAppContext& context,
                           CMessenger& messenger,
                           QWidget* parent)
    : QDialog(parent)
    , m_editing(std::move(editing))
    , m_book(book)
    , m_context(context)
    , m_messenger(messenger)
{
    setObjectName("entryDialog");
    setWindowTitle(QString::fromStdU16String(
        FormatNumberText(Text(m_editing->CaptionKey()).toStdU16String(), m_editing->CaptionNumber())));
    auto* form = new QFormLayout;
    for (const CEntryField& field : m_editing->Form().Fields()) {
        const std::string name(field.def->name);
        QWidget* widget = nullptr;
        switch (field.def->kind) {
            case EntryFieldKind::Text: {
                auto* edit = new CMyEdit(this);
                if (field.def->inputKind != 0) {
                    edit->Configure(EditRulesForKind(field.def->inputKind), &m_context.store);
                }
                if (field.def->limit > 0) {
                    edit->SetLimit(field.def->limit);
                }
                if (field.def->name == "password" || field.def->name == "confirm") {
                    edit->setEchoMode(QLineEdit::Password);
                }
                connect(edit, &QLineEdit::textEdited, this, [this, name](const QString& text) { Changed(name, text); });
                widget = edit;
                break;
            }
            case EntryFieldKind::Choice: {
                auto* combo = new CMyComboBox(this);
                connect(combo, &QComboBox::activated, this, [this, name, combo] {
                    Changed(name, QString::number(combo->SelectedValue()));
                });
                widget = combo;
                break;
            }
            case EntryFieldKind::Switch: {
                auto* check = new QCheckBox(this);
                connect(check, &QCheckBox::toggled, this, [this, name](bool on) { Changed(name, on ? "1" : "0"); });
                widget = check;
                break;
            }
            case EntryFieldKind::Special: {
                if (name == "groups" && m_editing->HasGroupChecks()) {
                    m_groupList = new QListWidget(this);
                    for (std::int32_t group = kFirstGroupNumber; group <= kLastGroupNumber; ++group) {
                        auto* row = new QListWidgetItem(QString::fromStdU16String(m_editing->GroupRowLabel(group)),
                                                        m_groupList);
                        row->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
                        row->setCheckState(Qt::Unchecked);
                    }
                    m_groupList->setMaximumHeight(160);
                    connect(m_groupList, &QListWidget::itemChanged, this, [this](QListWidgetItem* row) {
                        if (m_syncing) {
                            return;
                        }
                        const CEntryResult result = m_editing->SetGroupChecked(
                            kFirstGroupNumber + m_groupList->row(row), row->checkState() == Qt::Checked);
                        if (!result.Ok()) {
                            m_messenger.ShowMessage(result.code, this);
                        }
                        Sync();
                    });
                    widget = m_groupList;
                } else if ((name == "speed" || name == "group") && m_editing->HasFavouriteList()) {
                    // A radio per list; the speed dial's row carries the list of candidates.
                    auto* radio = new QRadioButton(this);
                    const std::int32_t kind = name == "speed" ? kTargetSpeedDial : kTargetGroup;
                    connect(radio, &QRadioButton::clicked, this, [this, kind] {
                        m_editing->ChooseList(kind);
                        FillFavouriteList();
                        Sync();
                    });
                    widget = radio;
                } else if ((name == "speed" || name == "batch") && m_editing->HasDetails()) {
                    // Speed and batch time are set in the details dialog; the batch row opens it.
                    auto* row = new QWidget(this);
                    auto* rowLayout = new QHBoxLayout(row);
                    rowLayout->setContentsMargins(0, 0, 0, 0);
                    auto* value = new QLabel(row);
                    value->setObjectName(ObjectName(field.def->name) + "Value");
                    rowLayout->addWidget(value, 1);
                    if (name == "batch") {
                        auto* details = new QPushButton(Text("STR_DLG_RSDFE_BTN_DETAILS"), row);
                        details->setObjectName("detailsButton");
                        details->setAutoDefault(false);
                        connect(details, &QPushButton::clicked, this, &CEntryDialog::OpenDetails);
                        rowLayout->addWidget(details);
                    }
                    widget = row;
                } else {
                    // The editor's own fields take their text form here, as qzbctl entry does.
                    auto* edit = new QLineEdit(this);
                    connect(
                        edit, &QLineEdit::editingFinished, this, [this, name, edit] { Changed(name, edit->text()); });
                    widget = edit;
                }
                break;
            }
        }
        widget->setObjectName(ObjectName(field.def->name));
        // A field without a label of its own is named by its field name.
        QString caption = Text(field.def->textKey);
        if (caption.isEmpty()) {
            caption = QString::fromStdString(name);
            caption[0] = caption[0].toUpper();
        }
        m_widgets[name] = widget;
        if (auto* radio = qobject_cast<QRadioButton*>(widget)) {
            // A radio button carries its caption, so the text sits beside the mark it belongs to.
            radio->setText(caption);
            form->addRow(radio);
            continue;
        }
        auto* label = new QLabel(caption, this);
        m_labels[name] = label;
        form->addRow(label, widget);
    }
    if (m_editing->HasFavouriteList()) {
        m_favouriteList = new QTreeWidget(this);
        m_favouriteList->setObjectName("favouriteList");
        m_favouriteList->setRootIsDecorated(false);
        m_favouriteList->setHeaderLabels({Text("STR_DR_LST_NO"), Text("STR_DR_LST_NAME")});
        connect(m_favouriteList, &QTreeWidget::currentItemChanged, this, [this] {
            if (!m_syncing && m_favouriteList->currentItem() != nullptr) {
                m_editing->SelectRow(m_favouriteList->indexOfTopLevelItem(m_favouriteList->currentItem()));
            }
        });
        form->addRow(m_favouriteList);
        FillFavouriteList();
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(Text("STR_DLG_BTN_SM_OK"));
    buttons->button(QDialogButtonBox::Ok)->setObjectName("okButton");
    buttons->button(QDialogButtonBox::Cancel)->setText(Text("STR_DLG_BTN_SM_CANCEL"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName("cancelButton");
    connect(buttons, &QDialogButtonBox::accepted, this, &CEntryDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CEntryDialog::reject);
    // The scan-to-server form with its ten notification addresses is taller than a small screen: the
    // fields scroll then, so that OK and Cancel stay in reach.
    auto* fields = new QWidget;
    fields->setLayout(form);
    auto* scroll = new QScrollArea(this);
    scroll->setObjectName("entryFieldsScroll");
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setWidget(fields);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(scroll, 1);
    layout->addWidget(buttons);
    Sync();
    FitScrollingPart(*this, *scroll, fields->sizeHint(), parent);
}

QString CEntryDialog::Text(std::string_view key) const
{
    return QString::fromStdU16String(TranslatedText(&m_context.strings, key));
}

void CEntryDialog::Changed(const std::string& name, const QString& value)
{
    if (m_syncing) {
        return;
    }
    const CEntryInput input = m_editing->Set(name, value.toStdU16String());
    if (!input.message.Ok()) {
        m_messenger.ShowMessage(input.message.code, this);
    }
    Sync();
}

void CEntryDialog::Sync()
{
    m_syncing = true;
    for (const CEntryField& field : m_editing->Form().Fields()) {
        const std::string name(field.def->name);
        QWidget* widget = m_widgets[name];
        widget->setVisible(field.visible);
        if (const auto label = m_labels.find(name); label != m_labels.end()) {
            label->second->setVisible(field.visible);
        }
        widget->setEnabled(field.enabled);
        if (auto* combo = qobject_cast<CMyComboBox*>(widget)) {
            combo->BeginChoices();
            for (const CEntryOption& option : field.offered) {
                combo->AddChoice(Text(option.textKey), option.value);
            }
            combo->ApplyChoices();
            combo->SelectByValue(field.value);
        } else if (auto* radio = qobject_cast<QRadioButton*>(widget)) {
            radio->setChecked(m_editing->TargetKind() == (name == "speed" ? kTargetSpeedDial : kTargetGroup));
        } else if (auto* check = qobject_cast<QCheckBox*>(widget)) {
            check->setChecked(field.value != 0);
        } else if (widget == m_groupList) {
            for (int row = 0; row < m_groupList->count(); ++row) {
                m_groupList->item(row)->setCheckState(m_editing->GroupChecked(kFirstGroupNumber + row) ? Qt::Checked
                                                                                                       : Qt::Unchecked);
            }
        } else if (auto* value = widget->findChild<QLabel*>(ObjectName(field.def->name) + "Value")) {
            QString shown = QString::fromStdU16String(field.text);
            // The speed reads as the details dialog names it (9.6K ...), not as its number.
            for (const CEntryOption& option : CFaxDetailsForm::FieldDefs().front().options) {
                if (field.def->name == "speed" && shown == QString::number(option.value)) {
                    shown = Text(option.textKey);
                }
            }
            value->setText(shown);
        } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
            const QString text = QString::fromStdU16String(field.text);
            if (edit->text() != text) {
                edit->setText(text);
            }
        }
    }
    m_syncing = false;
}

void CEntryDialog::FillFavouriteList()
{
    m_syncing = true;
    m_favouriteList->clear();
    for (const CFavouriteRow& row : m_editing->Rows()) {
        auto* line = new QTreeWidgetItem(m_favouriteList);
        line->setText(0, QString::number(row.number));
        line->setText(1, QString::fromStdU16String(row.name));
    }
    if (const std::int32_t selected = m_editing->SelectedRow(); selected >= 0) {
        m_favouriteList->setCurrentItem(m_favouriteList->topLevelItem(selected));
    }
    m_syncing = false;
}

void CEntryDialog::OpenDetails()
{
    auto details = std::make_unique<CFaxDetailsEditing>(m_editing->PendingDetails(), m_context.store);
    CFaxDetailsEditing& form = *details;
    CEntryDialog dialog(std::move(details), m_book, m_context, m_messenger, this);
    dialog.setObjectName("faxDetailsDialog");
    if (dialog.exec() == QDialog::Accepted) {
        m_editing->ConfirmDetails(form.Result());
        Sync();
    }
}

void CEntryDialog::accept()
{
    // A text form being typed counts as given.
    for (const CEntryField& field : m_editing->Form().Fields()) {
        if (field.def->kind == EntryFieldKind::Special) {
            auto* edit = qobject_cast<QLineEdit*>(m_widgets[std::string(field.def->name)]);
            if (edit != nullptr && edit->text().toStdU16String() != field.text) {
                Changed(std::string(field.def->name), edit->text());
            }
        }
    }
    const CEntryResult result = m_editing->Ok(m_book);
    if (!result.Ok()) {
        m_messenger.ShowMessage(result.code, this);
        if (QWidget* widget = m_widgets[std::string(result.field)]) {
            widget->setFocus();
            if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
                edit->selectAll();
            }
        }
        return;
    }
    QDialog::accept();
}

} // namespace qzb
