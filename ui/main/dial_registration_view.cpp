#include "ui/main/dial_registration_view.h"

#include "app/app_context.h"
#include "app/english_texts.h"
#include "app/messenger.h"
#include "base/text_format.h"
#include "model/panel_code.h"
#include "ui/pages/main_item_dlg.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStackedWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace qzb {

namespace {

QString Q(const std::u16string& text)
{
    return QString::fromStdU16String(text);
}

} // namespace

CDialRegistrationView::CDialRegistrationView(CAppContext& context, CMessenger& messenger, QWidget* parent)
    : QWidget(parent)
    , m_context(context)
    , m_messenger(messenger)
{
    setObjectName("dialRegistrationView");
    const CDialTexts texts = Texts();
    auto text = [&texts](std::string_view key) { return Q(texts.text(key)); };

    m_path = new QLabel(this);
    m_path->setObjectName("dialPathLabel");
    m_usage = new QLabel(this);
    m_usage->setObjectName("dialUsageLabel");
    m_filter = new QLineEdit(this);
    m_filter->setObjectName("dialFilterEdit");
    m_filter->setClearButtonEnabled(true);
    m_filter->setPlaceholderText(text("STR_DR_TXT_FILTER"));
    m_list = new QTreeWidget(this);
    m_list->setObjectName("dialEntryList");
    m_list->setRootIsDecorated(false);
    m_list->setAllColumnsShowFocus(true);
    m_list->setUniformRowHeights(true);
    QStringList headers;
    const double dpi = screen() ? screen()->logicalDotsPerInchY() : 96.0;
    for (std::size_t column = 0; column < kDialColumnKeys.size(); ++column) {
        headers << text(kDialColumnKeys[column]);
    }
    m_list->setHeaderLabels(headers);
    for (std::size_t column = 0; column < kDialColumnWidths.size(); ++column) {
        m_list->setColumnWidth(static_cast<int>(column),
                               ScaledDialColumnWidth(kDialColumnWidths[column], static_cast<std::int32_t>(dpi)));
    }

    m_new = new QPushButton(text("STR_DR_BTN_NEW_REGSTRATION"), this);
    m_new->setObjectName("dialNewButton");
    m_edit = new QPushButton(text("STR_DR_BTN_EDIT"), this);
    m_edit->setObjectName("dialEditButton");
    m_delete = new QPushButton(text("STR_DR_BTN_DELETE"), this);
    m_delete->setObjectName("dialDeleteButton");
    m_faxMail = new QRadioButton(text("STR_DR_RAD_FAX_EMAIL"), this);
    m_faxMail->setObjectName("dialFaxMailRadio");
    m_scan = new QRadioButton(text("STR_DR_RAD_SCAN_TO_SERVER"), this);
    m_scan->setObjectName("dialScanRadio");
    m_groups = new QListWidget(this);
    m_groups->setObjectName("groupCheckList");
    for (const std::u16string& label : GroupCheckLabels(m_context.device.book, texts)) {
        auto* row = new QListWidgetItem(Q(label), m_groups);
        row->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        row->setCheckState(Qt::Unchecked);
    }
    m_groups->setMaximumWidth(180);
    // Screen readers name the lists after the captions a sighted user reads above them.
    m_list->setAccessibleName(text("STR_DR_TXT_DIAL_REGISTRATION"));
    m_filter->setAccessibleName(text("STR_DR_TXT_FILTER"));
    m_groups->setAccessibleName(text("STR_DR_TXT_ADD_GROUP"));

    auto* speedDial = new QHBoxLayout;
    speedDial->addWidget(new QLabel(text("STR_DR_TXT_SD_SET_FRAM"), this));
    speedDial->addWidget(m_faxMail);
    speedDial->addWidget(m_scan);
    speedDial->addStretch(1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_new);
    buttons->addWidget(m_edit);
    buttons->addWidget(m_delete);
    buttons->addStretch(1);
    auto* groupColumn = new QVBoxLayout;
    groupColumn->addWidget(new QLabel(text("STR_DR_TXT_ADD_GROUP"), this));
    groupColumn->addWidget(m_groups, 1);
    auto* listColumn = new QVBoxLayout;
    listColumn->addWidget(m_path);
    listColumn->addLayout(speedDial);
    auto* caption = new QHBoxLayout;
    caption->addWidget(m_usage);
    caption->addStretch(1);
    caption->addWidget(m_filter);
    listColumn->addLayout(caption);
    listColumn->addWidget(m_list, 1);
    listColumn->addLayout(buttons);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(listColumn, 1);
    layout->addLayout(groupColumn);

    connect(m_filter, &QLineEdit::textChanged, this, [this] { FillList(); });
    // A row selects its item in the tree; a double click or Enter opens its editor, Delete deletes it.
    // A click on the row that is current already chooses it too.
    connect(m_list, &QTreeWidget::currentItemChanged, this, &CDialRegistrationView::FollowRow);
    connect(m_list, &QTreeWidget::itemPressed, this, &CDialRegistrationView::FollowRow);
    connect(m_list, &QTreeWidget::itemActivated, this, &CDialRegistrationView::OpenCurrentRow);
    m_list->installEventFilter(this);
    connect(m_new, &QPushButton::clicked, this, [this] {
        const CDialCommand command = DialNewRegistration(m_item, m_context.device.book);
        if (command.code != kOk) {
            m_messenger.ShowMessage(command.code, this);
            return;
        }
        emit EditorRequested(command);
        FocusAfter(DialFocus::NewRegistration);
    });
    connect(m_edit, &QPushButton::clicked, this, [this] {
        const CDialCommand command = DialEdit(m_item, m_itemRows);
        if (command.code != kOk) {
            m_messenger.ShowMessage(command.code, this);
            return;
        }
        emit EditorRequested(command);
        FocusAfter(DialFocus::Edit);
    });
    connect(m_delete, &QPushButton::clicked, this, [this] {
        if (DialDelete(m_item, m_itemRows, m_context.device.book)) {
            emit BookChanged();
        }
        Refresh();
        FocusAfter(DialFocus::Delete);
    });
    connect(m_faxMail, &QRadioButton::clicked, this, [this] { emit JumpRequested(DialRadioJump(false)); });
    connect(m_scan, &QRadioButton::clicked, this, [this] { emit JumpRequested(DialRadioJump(true)); });
    connect(m_groups, &QListWidget::itemChanged, this, &CDialRegistrationView::OnGroupCheckChanged);
}

CDialTexts CDialRegistrationView::Texts() const
{
    CDialTexts texts;
    texts.text = TranslatedTexts(m_context.strings);
    texts.panelLanguage = PanelLanguage(m_context.store);
    return texts;
}

void CDialRegistrationView::ShowItem(std::uint32_t item)
{
    // The item a row led to, and the same item shown again after a command, keep the list the row
    // stands in; any other item shows its own list.
    const bool followsRow = item == m_rowItem || (item == m_item && m_listItem != m_item);
    const std::uint32_t previousList = m_listItem;
    m_rowItem = 0;
    m_item = item;
    const CDialItem decoded = DecodeDialItem(item);
    if (decoded.kind == DialItemKind::FavouriteSlot && DeleteStaleFavourite(m_context.device.book, decoded.number)) {
        emit BookChanged();
    }
    const CDialTexts texts = Texts();
    m_path->setText(Q(DialPathLabel(item, m_context.device.book, texts)));
    std::vector<CDialRow> own = DialListRows(item, m_context.device.book, texts);
    m_itemRows = own.size();
    if (followsRow) {
        std::vector<CDialRow> listed = DialListRows(previousList, m_context.device.book, texts);
        if (DialListKeepsRow(previousList, item, listed)) {
            m_listItem = previousList;
            if (listed == m_rows) {
                // Only the selection moved: the rows stay, with the one the user is on.
                UpdateStates();
                return;
            }
            m_rows = std::move(listed);
            FillList();
            return;
        }
    }
    m_listItem = item;
    m_rows = std::move(own);
    FillList();
}

void CDialRegistrationView::FillList()
{
    m_fillingList = true;
    m_shown = FilterDialRows(m_rows, m_filter->text().toStdU16String());
    m_list->clear();
    QTreeWidgetItem* current = nullptr;
    for (const CDialRow& row : m_shown) {
        auto* line = new QTreeWidgetItem(m_list);
        for (std::size_t column = 0; column < row.cells.size(); ++column) {
            line->setText(static_cast<int>(column), Q(row.cells[column]));
        }
        line->setData(0, Qt::UserRole, static_cast<quint32>(row.item));
        if (current == nullptr && (m_listItem == m_item || row.item == m_item)) {
            current = line;
        }
    }
    if (current != nullptr) {
        m_list->setCurrentItem(current);
    }
    m_fillingList = false;
    const CDialUsage usage = DialListUsage(m_listItem, m_context.device.book);
    m_usage->setVisible(usage.capacity > 0);
    const std::u16string format = Texts().text("STR_DR_TXT_LIST_USAGE");
    m_usage->setText(Q(FormatNumberText(FormatNumberText(format, static_cast<std::int64_t>(usage.used)),
                                        static_cast<std::int64_t>(usage.capacity))));
    UpdateStates();
}

void CDialRegistrationView::UpdateStates()
{
    const CDialButtons buttons = DialButtonStates(m_item, m_itemRows);
    m_new->setEnabled(buttons.newRegistration);
    m_edit->setEnabled(buttons.edit);
    m_delete->setEnabled(buttons.remove);
    // While a row's item is selected the radios stay as the list's node has them.
    const CDialItem item = DecodeDialItem(m_listItem);
    const std::int64_t pageType = item.kind == DialItemKind::None ? -1 : static_cast<std::int64_t>(m_listItem);
    const CDialRadios radios = DialRadioStates(pageType < 0x1000000 ? 0 : pageType);
    m_faxMail->setEnabled(radios.enabled);
    m_scan->setEnabled(radios.enabled);
    m_faxMail->setChecked(radios.faxMailChecked);
    m_scan->setChecked(radios.scanChecked);

    const std::int32_t number = DialCheckListNumber(m_item, m_context.device.book);
    m_groups->setEnabled(number != 0);
    m_filling = true;
    const CGroupChecks checks = GroupCheckStates(m_context.device.book, number);
    // The rows name the groups as the tree does, so a rename or a new group shows here too.
    const std::vector<std::u16string> labels = GroupCheckLabels(m_context.device.book, Texts());
    for (int row = 0; row < m_groups->count(); ++row) {
        m_groups->item(row)->setText(Q(labels[static_cast<std::size_t>(row)]));
        m_groups->item(row)->setToolTip(Q(labels[static_cast<std::size_t>(row)]));
        m_groups->item(row)->setCheckState(number != 0 && checks[static_cast<std::size_t>(row)] ? Qt::Checked
                                                                                                : Qt::Unchecked);
    }
    m_filling = false;
}

void CDialRegistrationView::FocusAfter(DialFocus pressed)
{
    // A button the command disabled hands the focus on, to the next button or the tree.
    switch (DialFocusAfterCommand(pressed, DialButtonStates(m_item, m_itemRows))) {
        case DialFocus::NewRegistration:
            m_new->setFocus();
            break;
        case DialFocus::Edit:
            m_edit->setFocus();
            break;
        case DialFocus::Delete:
            m_delete->setFocus();
            break;
        case DialFocus::Tree:
            emit TreeFocusRequested();
            break;
    }
}

void CDialRegistrationView::FollowRow(QTreeWidgetItem* line)
{
    if (m_fillingList || line == nullptr) {
        return;
    }
    const std::size_t index = static_cast<std::size_t>(m_list->indexOfTopLevelItem(line));
    if (index >= m_shown.size()) {
        return;
    }
    if (const std::uint32_t item = DialRowTreeItem(m_item, m_shown[index]); item != 0) {
        m_rowItem = item;
        emit RowSelected(item);
    }
}

void CDialRegistrationView::OpenCurrentRow()
{
    FollowRow(m_list->currentItem());
    const CDialCommand command = DialRowOpen(m_item, m_itemRows, m_context.device.book);
    if (command.code != kOk) {
        m_messenger.ShowMessage(command.code, this);
        return;
    }
    if (command.editor != DialEditor::None) {
        emit EditorRequested(command);
        m_list->setFocus();
    }
}

bool CDialRegistrationView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_list && event->type() == QEvent::KeyPress) {
        const auto& key = static_cast<const QKeyEvent&>(*event);
        // Space chooses the row the list opened on, which no arrow key has moved to yet.
        if (key.key() == Qt::Key_Space && key.modifiers() == Qt::NoModifier) {
            FollowRow(m_list->currentItem());
        } else if (key.matches(QKeySequence::Delete)) {
            FollowRow(m_list->currentItem());
            if (m_delete->isEnabled()) {
                m_delete->click();
                m_list->setFocus();
            }
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void CDialRegistrationView::OnGroupCheckChanged(QListWidgetItem* row)
{
    if (m_filling) {
        return;
    }
    const std::int32_t number = DialCheckListNumber(m_item, m_context.device.book);
    CGroupChecks checks{};
    for (int r = 0; r < m_groups->count(); ++r) {
        checks[static_cast<std::size_t>(r)] = m_groups->item(r)->checkState() == Qt::Checked;
    }
    const MessageCode code =
        ApplyGroupChecks(m_context.device.book, number, checks, static_cast<std::size_t>(m_groups->row(row)), Texts());
    if (code != kOk) {
        m_messenger.ShowMessage(code, this);
    } else {
        emit BookChanged();
    }
    Refresh();
}

} // namespace qzb
