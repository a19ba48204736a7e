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
#include <QEvent>
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

QString EntryWidgetName(const CEntryField& field)
{
    const std::string_view name = field.def->name;
    return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())) + "Field";
}

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
    const std::vector<CEntryField>& fields = m_editing->Form().Fields();
    m_widgets.assign(fields.size(), nullptr);
    m_labels.assign(fields.size(), nullptr);
    m_frameTitles.assign(fields.size(), nullptr);
    m_rowWidgets.assign(fields.size(), nullptr);
    m_inputKinds.assign(fields.size(), InputKind::None);
    auto* form = new QFormLayout;
    for (const CEntryField& field : fields) {
        QWidget* widget = MakeWidget(field);
        widget->setObjectName(EntryWidgetName(field));
        m_widgets[field.def->id] = widget;
        if (!field.def->frameKey.empty()) {
            QLabel* title = FrameTitle(EntryWidgetName(field) + "FrameTitle");
            m_frameTitles[field.def->id] = title;
            form->addRow(title);
        }
        QWidget* row = widget;
        if (!field.def->noteKey.empty()) {
            // The note (the range a number takes) stands after the field, as on a settings page.
            row = new QWidget(this);
            auto* rowLayout = new QHBoxLayout(row);
            rowLayout->setContentsMargins(0, 0, 0, 0);
            rowLayout->addWidget(widget);
            auto* note = new QLabel(Text(field.def->noteKey), row);
            note->setObjectName(EntryWidgetName(field) + "Note");
            rowLayout->addWidget(note);
            rowLayout->addStretch(1);
            widget->setAccessibleDescription(note->text());
        }
        m_rowWidgets[field.def->id] = row;
        if (auto* radio = qobject_cast<QRadioButton*>(widget)) {
            // A radio button carries its caption, so the text sits beside the mark it belongs to.
            form->addRow(radio);
            continue;
        }
        auto* label = new QLabel(this);
        label->setBuddy(widget);
        m_labels[field.def->id] = label;
        form->addRow(label, row);
    }
    if (m_editing->HasFavouriteList()) {
        m_favouriteList = new QTreeWidget(this);
        m_favouriteList->setObjectName("favouriteList");
        m_favouriteList->setAccessibleName(Text("STR_DLG_RAB_TXT_SPEED_GROUP_FRAM"));
        m_favouriteList->setRootIsDecorated(false);
        m_favouriteList->setHeaderLabels({Text("STR_DR_LST_NO"), Text("STR_DR_LST_NAME")});
        connect(m_favouriteList, &QTreeWidget::currentItemChanged, this, [this] {
            if (!m_syncing && m_favouriteList->currentItem() != nullptr) {
                m_editing->SelectRow(m_favouriteList->indexOfTopLevelItem(m_favouriteList->currentItem()));
            }
        });
        form->addRow(FrameTitle("favouriteListFrameTitle", Text("STR_DLG_RAB_TXT_SPEED_GROUP_FRAM")));
        form->addRow(m_favouriteList);
        FillFavouriteList();
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
    QPushButton* cancel = buttons->button(QDialogButtonBox::Cancel);
    ok->setText(Text("STR_DLG_BTN_SM_OK"));
    ok->setObjectName("okButton");
    ok->setDefault(true);
    cancel->setText(Text("STR_DLG_BTN_SM_CANCEL"));
    cancel->setObjectName("cancelButton");
    connect(buttons, &QDialogButtonBox::accepted, this, &CEntryDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CEntryDialog::reject);
    // The scan-to-server form with its ten notification addresses is taller than a small screen: the
    // fields scroll then, so that OK and Cancel stay in reach.
    auto* fieldsWidget = new QWidget;
    fieldsWidget->setLayout(form);
    auto* scroll = new QScrollArea(this);
    scroll->setObjectName("entryFieldsScroll");
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setWidget(fieldsWidget);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(scroll, 1);
    layout->addWidget(buttons);

    // Tab walks the fields in the order of the editor's table, then OK and Cancel.
    QWidget* previous = nullptr;
    auto chain = [&previous](QWidget* next) {
        if (previous != nullptr) {
            QWidget::setTabOrder(previous, next);
        }
        previous = next;
    };
    for (QWidget* widget : m_widgets) {
        chain(widget);
        for (auto* button : widget->findChildren<QPushButton*>()) {
            chain(button);
        }
        if (m_favouriteList != nullptr && widget == m_widgets.back()) {
            chain(m_favouriteList);
        }
    }
    chain(ok);
    chain(cancel);
    scroll->setFocusPolicy(Qt::NoFocus);
    Sync();
    for (QWidget* widget : m_widgets) {
        if (widget->isEnabledTo(this) && !widget->isHidden() && widget->focusPolicy() != Qt::NoFocus) {
            widget->setFocus();
            break;
        }
    }
    FitScrollingPart(*this, *scroll, fieldsWidget->sizeHint(), parent);
}

QWidget* CEntryDialog::MakeWidget(const CEntryField& field)
{
    const EntryFieldId id = field.def->id;
    if ((field.def->flags & kEntryInDetails) != 0) {
        // Speed and batch time are set in the details dialog; the batch row opens it.
        auto* row = new QWidget(this);
        auto* rowLayout = new QHBoxLayout(row);
        rowLayout->setContentsMargins(0, 0, 0, 0);
        auto* value = new QLabel(row);
        value->setObjectName(EntryWidgetName(field) + "Value");
        rowLayout->addWidget(value, 1);
        if (field.def->kind == EntryFieldKind::Time) {
            auto* details = new QPushButton(Text("STR_DLG_RSDFE_BTN_DETAILS"), row);
            details->setObjectName("detailsButton");
            connect(details, &QPushButton::clicked, this, &CEntryDialog::OpenDetails);
            rowLayout->addWidget(details);
        }
        row->setFocusPolicy(Qt::NoFocus);
        return row;
    }
    switch (field.def->kind) {
        case EntryFieldKind::Text: {
            auto* edit = new CMyEdit(this);
            if (field.def->limit > 0) {
                edit->SetLimit(field.def->limit);
            }
            if ((field.def->flags & kEntrySecret) != 0) {
                edit->setEchoMode(QLineEdit::Password);
            }
            edit->installEventFilter(this);
            connect(edit, &QLineEdit::textEdited, this, [this, id](const QString& text) { TextEdited(id, text); });
            return edit;
        }
        case EntryFieldKind::Choice: {
            auto* combo = new CMyComboBox(this);
            connect(combo, &QComboBox::activated, this, [this, id, combo] {
                if (!m_syncing) {
                    Took(m_editing->Choose(id, combo->SelectedValue()));
                }
            });
            return combo;
        }
        case EntryFieldKind::Switch: {
            auto* check = new QCheckBox(this);
            connect(check, &QCheckBox::toggled, this, [this, id](bool on) {
                if (!m_syncing) {
                    Took(m_editing->Check(id, on));
                }
            });
            return check;
        }
        case EntryFieldKind::GroupList: {
            m_groupList = new QListWidget(this);
            for (std::int32_t group = kFirstGroupNumber; group <= kLastGroupNumber; ++group) {
                auto* row =
                    new QListWidgetItem(QString::fromStdU16String(m_editing->GroupRowLabel(group)), m_groupList);
                row->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
                row->setCheckState(Qt::Unchecked);
            }
            m_groupList->setMaximumHeight(160);
            connect(m_groupList, &QListWidget::itemChanged, this, [this](QListWidgetItem* row) {
                if (m_syncing) {
                    return;
                }
                const CEntryResult result = m_editing->SetGroupChecked(kFirstGroupNumber + m_groupList->row(row),
                                                                       row->checkState() == Qt::Checked);
                Took({EntryRefusal::None, result});
            });
            return m_groupList;
        }
        case EntryFieldKind::Row: {
            // A radio per list; the list of candidates follows the rows.
            auto* radio = new QRadioButton(this);
            const std::int32_t kind = field.def->options.front().value;
            connect(radio, &QRadioButton::clicked, this, [this, kind] {
                m_editing->ChooseList(kind);
                FillFavouriteList();
                Sync();
            });
            return radio;
        }
        case EntryFieldKind::Time:
            break;
    }
    return new QWidget(this);
}

QLabel* CEntryDialog::FrameTitle(const QString& name, const QString& text)
{
    auto* title = new QLabel(text, this);
    title->setObjectName(name);
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    return title;
}

QString CEntryDialog::Text(std::string_view key) const
{
    return QString::fromStdU16String(TranslatedText(&m_context.strings, key));
}

QString CEntryDialog::Caption(const CEntryField& field) const
{
    // A field without a label of its own is named by its field name.
    QString caption = Text(field.labelKey);
    if (caption.isEmpty()) {
        caption = QString::fromLatin1(field.def->name.data(), static_cast<qsizetype>(field.def->name.size()));
        caption[0] = caption[0].toUpper();
    }
    return caption;
}

void CEntryDialog::Took(const CEntryInput& input)
{
    if (!input.message.Ok()) {
        m_messenger.ShowMessage(input.message.code, this);
    }
    Sync();
}

void CEntryDialog::TextEdited(EntryFieldId id, const QString& text)
{
    if (m_syncing) {
        return;
    }
    auto* edit = qobject_cast<QLineEdit*>(m_widgets[id]);
    const CEntryInput input = m_editing->SetText(id, text.toStdU16String());
    if (input.refusal != EntryRefusal::None) {
        // A refused character: the previous text comes back with the caret at the end.
        m_syncing = true;
        edit->setText(QString::fromStdU16String(m_editing->Form().Text(id)));
        edit->end(false);
        m_syncing = false;
        return;
    }
    Took(input);
    const EntryFieldId next = m_editing->Form().FocusAfter(id);
    if (next != kNoEntryField) {
        if (auto* nextEdit = qobject_cast<QLineEdit*>(m_widgets[next])) {
            nextEdit->setFocus(Qt::TabFocusReason);
            nextEdit->selectAll();
        }
    }
}

bool CEntryDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut) {
        for (std::size_t id = 0; id < m_widgets.size(); ++id) {
            if (m_widgets[id] == watched) {
                m_editing->Form().Leave(static_cast<EntryFieldId>(id));
                Sync();
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void CEntryDialog::Sync()
{
    m_syncing = true;
    for (const CEntryField& field : m_editing->Form().Fields()) {
        const EntryFieldId id = field.def->id;
        QWidget* widget = m_widgets[id];
        const QString caption = Caption(field);
        widget->setVisible(field.visible);
        widget->setEnabled(field.enabled);
        widget->setAccessibleName(caption);
        if (m_rowWidgets[id] != widget) {
            m_rowWidgets[id]->setVisible(field.visible);
            m_rowWidgets[id]->setEnabled(field.enabled);
        }
        if (QLabel* title = m_frameTitles[id]) {
            title->setText(Text(field.frameKey));
            title->setVisible(field.visible && !field.frameKey.empty());
        }
        if (QLabel* label = m_labels[id]) {
            // A label with a buddy reads "&" as a mnemonic mark: "B&W/Gray" must show its "&".
            label->setText(QString(caption).replace(QLatin1Char('&'), QLatin1String("&&")));
            label->setVisible(field.visible);
            label->setEnabled(field.enabled);
        }
        if ((field.def->flags & kEntryInDetails) != 0) {
            // The speed reads as the details dialog names it (9.6K ...), not as its number.
            const CEntryOption* option = FindEntryOption(field.def->options, field.value);
            const QString shown = option ? Text(option->textKey) : QString::fromStdU16String(field.text);
            widget->findChild<QLabel*>(EntryWidgetName(field) + "Value")->setText(shown);
        } else if (auto* combo = qobject_cast<CMyComboBox*>(widget)) {
            combo->BeginChoices();
            for (const CEntryOption& option : field.offered) {
                combo->AddChoice(Text(option.textKey), option.value);
            }
            combo->ApplyChoices();
            combo->SelectByValue(field.value);
        } else if (auto* radio = qobject_cast<QRadioButton*>(widget)) {
            radio->setText(caption);
            radio->setChecked(m_editing->TargetKind() == field.def->options.front().value);
        } else if (auto* check = qobject_cast<QCheckBox*>(widget)) {
            check->setChecked(field.value != 0);
        } else if (widget == m_groupList) {
            for (int row = 0; row < m_groupList->count(); ++row) {
                m_groupList->item(row)->setCheckState(m_editing->GroupChecked(kFirstGroupNumber + row) ? Qt::Checked
                                                                                                       : Qt::Unchecked);
            }
        } else if (auto* edit = qobject_cast<CMyEdit*>(widget)) {
            if (m_inputKinds[id] != field.inputKind) {
                // The server field of a scan entry changes its typing filter with the protocol.
                m_inputKinds[id] = field.inputKind;
                edit->Configure(EditRulesForKind(field.inputKind), &m_context.store);
            }
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
        // Numbered as the address-book tree numbers them: speed dial 001, group 01.
        const bool group = m_editing->TargetKind() == kTargetGroup;
        line->setText(0, QString::fromStdU16String(FormatNumberText(group ? u"%02i" : u"%03i", row.number)));
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
    // The field being typed in is left first, as a click on OK would leave it.
    if (QWidget* focused = focusWidget()) {
        for (std::size_t id = 0; id < m_widgets.size(); ++id) {
            if (m_widgets[id] == focused) {
                m_editing->Form().Leave(static_cast<EntryFieldId>(id));
                Sync();
            }
        }
    }
    const CEntryResult result = m_editing->Ok(m_book);
    if (!result.Ok()) {
        m_messenger.ShowMessage(result.code, this);
        if (result.field < m_widgets.size()) {
            QWidget* widget = m_widgets[result.field];
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
