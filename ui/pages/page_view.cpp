#include "ui/pages/page_view.h"

#include "app/string_table.h"
#include "model/input_chars.h"
#include "pages/page_input.h"
#include "pages/page_layout.h"
#include "pages/page_registry.h"
#include "ui/controls/my_combo_box.h"
#include "ui/controls/my_edit.h"
#include "ui/controls/my_ip_address_ctrl.h"
#include "ui/controls/my_text_edit.h"
#include "ui/pages/control_names.h"
#include "ui/pages/setting_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QWheelEvent>

#include <map>
#include <vector>

namespace qzb {

namespace {

constexpr int kSpareColumn = 8;
constexpr int kHeadingGap = 6; // room above a heading that follows other rows
// A field holding a loaded text is drawn wide enough for it, up to this many average characters.
constexpr int kWidestTextChars = 64;
constexpr int kEditFrameWidth = 16; // the line edit's frame and text margins

QString ToQString(const std::u16string& text)
{
    return QString::fromStdU16String(text);
}

// Ctrl with the paging keys scrolls the page whatever control has the focus.
bool IsPageScrollKey(const QKeyEvent& key)
{
    if (!(key.modifiers() & Qt::ControlModifier)) {
        return false;
    }
    switch (key.key()) {
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
        case Qt::Key_Home:
        case Qt::Key_End:
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Up:
        case Qt::Key_Down:
            return true;
        default:
            return false;
    }
}

// A field whose loaded text is longer than it is drawn grows to show it whole, up to a width that
// still reads as one field; typing leaves the width as it is.
void FitLoadedText(QLineEdit& edit, const CControlDef& control)
{
    if (CPage::EditLimit(control) <= kNarrowEditLimit || edit.echoMode() != QLineEdit::Normal) {
        return;
    }
    const QFontMetrics metrics = edit.fontMetrics();
    const int wanted = metrics.horizontalAdvance(edit.text()) + kEditFrameWidth;
    edit.setMinimumWidth(std::min(wanted, metrics.averageCharWidth() * kWidestTextChars));
}

bool IsInputKind(ControlKind kind)
{
    return kind != ControlKind::Label && kind != ControlKind::List;
}

} // namespace

CPageView::CPageView(const CPageDef& def, const CPageEnv& env, CMessenger& messenger, QWidget* parent)
    : QScrollArea(parent)
    , m_page(def, env)
    , m_messenger(messenger)
{
    setObjectName(QString::fromLatin1(def.name.data(), static_cast<qsizetype>(def.name.size())));
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(true);
    // Tab goes from the tree straight to the page's first control and on past its last one.
    setFocusPolicy(Qt::NoFocus);
    verticalScrollBar()->setSingleStep(kLineStep);
    horizontalScrollBar()->setSingleStep(kLineStep);
}

QWidget* CPageView::Widget(std::int32_t id) const
{
    const auto controls = m_page.Controls();
    for (std::size_t i = 0; i < controls.size() && i < m_widgets.size(); ++i) {
        if (controls[i].id == id) {
            return m_widgets[i];
        }
    }
    return nullptr;
}

QWidget* CPageView::CreateWidget(const CControlDef& control, const CControlState& state)
{
    const QString text = ToQString(state.text);
    switch (control.kind) {
        case ControlKind::Label: {
            auto* label = new QLabel(text, m_content);
            if (control.heading) {
                QFont bold = label->font();
                bold.setBold(true);
                label->setFont(bold);
            }
            return label;
        }
        case ControlKind::Edit: {
            // A kind that takes line breaks gets the multi-line edit: Enter is a line break there,
            // not the dialog's OK, and a stored break shows as one.
            if (control.inputKind == InputKind::SeveralLines) {
                auto* lines = new CMyTextEdit(m_content);
                lines->Configure(EditRulesForKind(control.inputKind), m_page.Env().store);
                lines->SetLimit(CPage::EditLimit(control));
                lines->setTabChangesFocus(true);
                lines->setMaximumHeight(lines->fontMetrics().lineSpacing() * 4 + kEditFrameWidth);
                return lines;
            }
            auto* edit = new CMyEdit(m_content);
            CEditRules rules = EditRulesForKind(control.inputKind);
            rules.noCopyCut = control.noCopyCut;
            edit->Configure(rules, m_page.Env().store);
            edit->SetLimit(CPage::EditLimit(control));
            if (control.noCopyCut) {
                edit->setEchoMode(QLineEdit::Password);
            }
            // A field of a few digits (hour, minute, a four-digit password, a port) is drawn about as
            // wide as what it holds, so it does not read as a field for a name.
            if (const std::int32_t limit = CPage::EditLimit(control); limit > 0 && limit <= kNarrowEditLimit) {
                edit->setMaximumWidth(edit->fontMetrics().horizontalAdvance(QString(limit + 2, QChar('0'))) +
                                      kEditFrameWidth);
            }
            return edit;
        }
        case ControlKind::Combo:
            return new CMyComboBox(m_content);
        case ControlKind::Check:
            return new QCheckBox(text, m_content);
        case ControlKind::Radio: {
            // Each group of the model is a button group of its own, so that a screen reader meets a
            // radio group and the arrow keys move within it; the siblings' exclusivity Qt gives
            // radio buttons by default would span every group of the page.
            auto* radio = new QRadioButton(text, m_content);
            QButtonGroup*& group = m_radioGroups[control.group];
            if (group == nullptr) {
                group = new QButtonGroup(this);
            }
            group->addButton(radio);
            return radio;
        }
        case ControlKind::Slider: {
            auto* slider = new QSlider(Qt::Horizontal, m_content);
            slider->setRange(control.minimum, control.maximum);
            return slider;
        }
        case ControlKind::Address:
            return new CMyIPAddressCtrl(m_content);
        case ControlKind::Button:
            return new QPushButton(text, m_content);
        case ControlKind::List:
            return new QListWidget(m_content);
    }
    return new QLabel(m_content);
}

void CPageView::Connect(const CControlDef& control, QWidget* widget)
{
    const std::int32_t id = control.id;
    switch (control.kind) {
        case ControlKind::Edit:
            if (auto* lines = qobject_cast<CMyTextEdit*>(widget)) {
                connect(lines, &QPlainTextEdit::textChanged, this, [this, id, lines] {
                    if (!m_syncing) {
                        m_page.SetText(id, lines->toPlainText().toStdU16String());
                        UserChanged(id);
                    }
                });
                break;
            }
            connect(static_cast<CMyEdit*>(widget), &QLineEdit::textEdited, this, [this, id](const QString& text) {
                const bool taken = m_page.SetText(id, text.toStdU16String());
                UserChanged(id);
                const CControlDef& edit = *m_page.FindControl(id);
                const auto length = static_cast<std::int32_t>(m_page.State(id).text.size());
                if (taken && edit.focusOnFull != 0 && length == CPage::EditLimit(edit)) {
                    if (auto* next = qobject_cast<QLineEdit*>(Widget(edit.focusOnFull))) {
                        next->setFocus(Qt::OtherFocusReason);
                        next->selectAll();
                    }
                }
            });
            break;
        case ControlKind::Combo: {
            auto* combo = static_cast<CMyComboBox*>(widget);
            connect(combo, &QComboBox::currentIndexChanged, this, [this, id, combo](int) {
                if (!m_syncing && combo->SelectedValue() != -1) {
                    m_priorId = id;
                    m_priorValue = m_page.State(id).value;
                    m_page.SetValue(id, combo->SelectedValue());
                    UserChanged(id);
                }
            });
            // A user's choice, also of the option already selected, may open a dialog.
            if (!control.opensDialog.empty()) {
                connect(combo, &QComboBox::activated, this, [this, id](int) {
                    const std::int32_t prior = m_priorId == id ? m_priorValue : m_page.State(id).value;
                    m_priorId = 0;
                    OpenDialogFor(id, prior);
                });
            }
            break;
        }
        case ControlKind::Check:
        case ControlKind::Radio:
            connect(static_cast<QAbstractButton*>(widget), &QAbstractButton::toggled, this, [this, id](bool checked) {
                // A radio button is switched off only by another button of its group, whose own
                // signal carries the change.
                const CControlDef& control = *m_page.FindControl(id);
                if (m_syncing || (control.kind == ControlKind::Radio && !checked)) {
                    return;
                }
                if (OpensDialogOnly(control)) {
                    Sync();
                    if (const CPageDef* def = FindPageDef(control.opensDialog)) {
                        ExecDialog(*def);
                    }
                    return;
                }
                const bool box = control.kind == ControlKind::Check;
                const std::int32_t priorRadio = box ? 0 : CheckedRadio(control.group);
                if (checked || box) {
                    m_page.SetValue(id, checked ? 1 : 0);
                }
                UserChanged(id);
                if (checked) {
                    OpenDialogFor(id, 0, priorRadio);
                }
            });
            break;
        case ControlKind::Slider:
            connect(static_cast<QSlider*>(widget), &QSlider::valueChanged, this, [this, id](int value) {
                if (!m_syncing) {
                    m_page.SetValue(id, value);
                    UserChanged(id);
                }
            });
            break;
        case ControlKind::Address: {
            auto* address = static_cast<CMyIPAddressCtrl*>(widget);
            connect(address, &CMyIPAddressCtrl::AddressChanged, this, [this, id, address] {
                if (m_syncing) {
                    return;
                }
                CAddressFields fields;
                address->GetAddress(fields);
                COctets octets{};
                for (std::size_t i = 0; i < octets.size(); ++i) {
                    octets[i] = fields[i] ? static_cast<std::int16_t>(*fields[i]) : std::int16_t{-1};
                }
                m_page.SetOctets(id, octets);
                UserChanged(id);
            });
            break;
        }
        case ControlKind::Button:
            connect(static_cast<QPushButton*>(widget), &QPushButton::clicked, this, [this, id] {
                m_page.SetValue(id, 1);
                UserChanged(id);
                OpenDialogFor(id, 1);
            });
            break;
        case ControlKind::Label:
        case ControlKind::List:
            break;
    }
}

void CPageView::WatchKeys(QWidget* widget)
{
    widget->installEventFilter(this);
    for (QWidget* child : widget->findChildren<QWidget*>()) {
        child->installEventFilter(this);
    }
}

void CPageView::Initialise()
{
    m_page.Initialise();
    m_content = new QWidget;
    m_content->setObjectName(objectName() + "Content");
    m_grid = new QGridLayout(m_content);
    m_grid->setHorizontalSpacing(12);
    // Controls keep their natural widths; the room left over goes to a column after them all.
    m_grid->setColumnStretch(kSpareColumn, 1);
    const auto controls = m_page.Controls();
    const CPageLayout layout = LayOutPage(controls, m_page.Env().modelBit);
    // One box per radio group drawn side by side, in the cell of its first button.
    std::map<std::pair<int, int>, QHBoxLayout*> packs;
    m_widgets.reserve(controls.size());
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const CControlDef& control = controls[i];
        const CControlCell& cell = layout.cells[i];
        QWidget* widget = CreateWidget(control, m_page.StateAt(i));
        widget->setObjectName(QString::fromLatin1(control.name.data(), static_cast<qsizetype>(control.name.size())));
        widget->setProperty("controlId", control.id);
        // Fields keep their natural width; only the spare column takes what room is left.
        if (control.kind != ControlKind::Label) {
            widget->setSizePolicy(QSizePolicy::Preferred, widget->sizePolicy().verticalPolicy());
        }
        if (control.heading && cell.row > 0) {
            widget->setContentsMargins(0, kHeadingGap, 0, 0);
        }
        m_widgets.push_back(widget);
        if (cell.row < 0) {
            // The running model has no such control: it stays hidden, out of the grid.
            widget->hide();
        } else if (cell.packed) {
            QHBoxLayout*& pack = packs[{cell.row, cell.column}];
            if (pack == nullptr) {
                pack = new QHBoxLayout;
                pack->setSpacing(m_grid->horizontalSpacing() * 2);
                m_grid->addLayout(pack, cell.row, cell.column, 1, cell.columnSpan);
            }
            pack->addWidget(widget);
        } else {
            m_grid->addWidget(widget, cell.row, cell.column, 1, cell.columnSpan);
        }
        Connect(control, widget);
        WatchKeys(widget);
    }
    for (const auto& [cell, pack] : packs) {
        pack->addStretch(1);
    }
    const int lastRow = layout.rowCount - 1;
    m_grid->setRowStretch(lastRow + 1, 1);
    for (std::size_t i = 0; i < controls.size(); ++i) {
        MarkNotEditable(controls[i], m_widgets[i]);
    }
    NameControls(m_page, m_widgets);
    Sync();
    setWidget(m_content);
    ApplyRatio();
}

bool CPageView::TakesInput(const CControlDef& control) const
{
    return !control.readOnly && ControlTravels(m_page, control);
}

bool CPageView::OpensDialogOnly(const CControlDef& control) const
{
    return control.kind == ControlKind::Check && !control.opensDialog.empty() && !TakesInput(control);
}

void CPageView::MarkNotEditable(const CControlDef& control, QWidget* widget)
{
    if (TakesInput(control) || !IsInputKind(control.kind)) {
        return;
    }
    if (OpensDialogOnly(control)) {
        widget->setToolTip(tr("The device's own panel or web page switches this; neither an upload nor a "
                              "settings file carries it. A click opens its settings."));
    } else if (!control.readOnly) {
        widget->setToolTip(tr("The device's own panel or web page sets this; neither an upload nor a settings "
                              "file carries it."));
    }
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        edit->setReadOnly(true);
    } else if (auto* lines = qobject_cast<QPlainTextEdit*>(widget)) {
        lines->setReadOnly(true);
    } else if (auto* address = qobject_cast<CMyIPAddressCtrl*>(widget)) {
        address->SetReadOnly(true);
    }
    // Lists, boxes and sliders have no read-only state: SyncControl keeps them greyed.
}

void CPageView::ApplyRatio()
{
    const CStringTable* strings = m_page.Env().strings;
    const std::u16string* text = strings != nullptr ? strings->Find(Def().ratioKey) : nullptr;
    m_ratio = text != nullptr ? ParseSizeRatio(*text) : 1.0;
    // Layouts place the controls; the ratio enlarges the room they start with.
    if (m_ratio > 1.0) {
        const QSize hint = m_content->sizeHint();
        m_content->setMinimumSize(static_cast<int>(hint.width() * m_ratio), static_cast<int>(hint.height() * m_ratio));
    }
}

void CPageView::SyncControl(std::size_t index)
{
    const CControlDef& control = m_page.Controls()[index];
    const CControlState& state = m_page.StateAt(index);
    QWidget* widget = m_widgets[index];
    widget->setVisible(state.visible);
    const bool greyed = !TakesInput(control) && control.kind != ControlKind::Edit &&
                        control.kind != ControlKind::Address && !OpensDialogOnly(control);
    widget->setEnabled(state.enabled && !(greyed && IsInputKind(control.kind)));
    switch (control.kind) {
        case ControlKind::Label:
            static_cast<QLabel*>(widget)->setText(ToQString(state.text));
            break;
        case ControlKind::Edit: {
            if (auto* lines = qobject_cast<CMyTextEdit*>(widget)) {
                lines->SetLimit(std::max(CPage::EditLimit(control), static_cast<std::int32_t>(state.text.size())));
                if (lines->toPlainText() != ToQString(state.text)) {
                    lines->setPlainText(ToQString(state.text));
                }
                break;
            }
            auto* edit = static_cast<CMyEdit*>(widget);
            // The limit holds for typing: a longer value that was loaded is shown and kept whole.
            edit->SetLimit(std::max(CPage::EditLimit(control), static_cast<std::int32_t>(state.text.size())));
            if (edit->text() != ToQString(state.text)) {
                edit->setText(ToQString(state.text));
                FitLoadedText(*edit, control);
                if (!edit->hasFocus()) {
                    edit->setCursorPosition(0); // a long text shows its beginning
                }
            }
            break;
        }
        case ControlKind::Combo: {
            auto* combo = static_cast<CMyComboBox*>(widget);
            combo->BeginChoices();
            for (const CChoice& choice : state.choices) {
                combo->AddChoice(ToQString(choice.text), choice.value);
            }
            combo->ApplyChoices();
            if (!state.choices.empty()) {
                combo->SelectByValue(state.value);
            }
            // A list the running model offers nothing in is greyed rather than opening empty.
            combo->setEnabled(state.enabled && !state.choices.empty() && TakesInput(control));
            break;
        }
        case ControlKind::Check:
        case ControlKind::Radio: {
            auto* button = static_cast<QAbstractButton*>(widget);
            button->setText(ToQString(state.text));
            QButtonGroup* group = button->group();
            if (group != nullptr && state.value != 1 && button->isChecked()) {
                // The model may leave a group with no button checked; an exclusive group would not.
                group->setExclusive(false);
                button->setChecked(false);
                group->setExclusive(true);
            } else {
                button->setChecked(state.value == 1);
            }
            break;
        }
        case ControlKind::Slider: {
            // The range may follow the data loaded (the ring count by fax country).
            auto* slider = static_cast<QSlider*>(widget);
            slider->setRange(state.minimum, state.maximum);
            slider->setValue(state.value);
            break;
        }
        case ControlKind::Address: {
            CAddressFields fields;
            for (std::size_t i = 0; i < fields.size(); ++i) {
                if (state.octets[i] >= 0) {
                    fields[i] = static_cast<std::uint8_t>(state.octets[i]);
                }
            }
            static_cast<CMyIPAddressCtrl*>(widget)->SetAddress(fields);
            break;
        }
        case ControlKind::Button:
            static_cast<QPushButton*>(widget)->setText(ToQString(state.text));
            break;
        case ControlKind::List:
            break;
    }
}

void CPageView::Sync()
{
    m_syncing = true;
    for (std::size_t i = 0; i < m_widgets.size(); ++i) {
        SyncControl(i);
    }
    m_syncing = false;
}

void CPageView::UserChanged(std::int32_t id)
{
    Sync();
    emit ControlChanged(id);
}

std::int32_t CPageView::CheckedRadio(std::int32_t group) const
{
    for (const CControlDef& control : m_page.Controls()) {
        if (control.kind == ControlKind::Radio && control.group == group && m_page.IsChecked(control.id)) {
            return control.id;
        }
    }
    return 0;
}

void CPageView::OpenDialogFor(std::int32_t id, std::int32_t priorValue, std::int32_t priorRadio)
{
    const CPageDef* def = FindPageDef(m_page.DialogFor(id));
    if (def == nullptr) {
        return;
    }
    if (ExecDialog(*def)) {
        return;
    }
    const std::int32_t restored = m_page.CancelOpeningChoice(id, priorValue, priorRadio);
    if (restored == 0) {
        return;
    }
    UserChanged(restored);
    if (restored != id) {
        if (QWidget* prior = Widget(restored)) {
            prior->setFocus(Qt::OtherFocusReason);
        }
    }
}

bool CPageView::ExecDialog(const CPageDef& def)
{
    CPageEnv env = m_page.Env();
    env.opener = &m_page;
    CSettingDialog dialog(def, env, m_messenger, this);
    return dialog.exec() == QDialog::Accepted;
}

QSize CPageView::ContentSize() const
{
    if (m_content == nullptr) {
        return {};
    }
    const QSize content = m_content->minimumSize().expandedTo(m_content->sizeHint());
    const int frame = 2 * frameWidth();
    return content + QSize(frame, frame);
}

void CPageView::Reload()
{
    m_page.Load();
    Sync();
}

CCheckResult CPageView::Commit()
{
    return m_page.Store();
}

void CPageView::FocusAfterError(const CCheckResult& result)
{
    QWidget* widget = Widget(result.controlId);
    if (widget == nullptr) {
        setFocus();
        return;
    }
    if (auto* address = qobject_cast<CMyIPAddressCtrl*>(widget)) {
        address->SetFieldFocus(result.field >= 0 ? result.field : 0);
    } else {
        widget->setFocus(Qt::OtherFocusReason);
        if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
            edit->selectAll();
        } else if (auto* lines = qobject_cast<QPlainTextEdit*>(widget)) {
            lines->selectAll();
        }
    }
    ensureWidgetVisible(widget, kScrollMargin, kScrollMargin);
}

QWidget* CPageView::FirstTabStop() const
{
    for (QWidget* widget : m_widgets) {
        if (widget->isVisibleTo(m_content) && widget->isEnabled() && (widget->focusPolicy() & Qt::TabFocus)) {
            return widget;
        }
    }
    return nullptr;
}

QWidget* CPageView::LastTabStop() const
{
    for (auto it = m_widgets.rbegin(); it != m_widgets.rend(); ++it) {
        QWidget* widget = *it;
        if (widget->isVisibleTo(m_content) && widget->isEnabled() && (widget->focusPolicy() & Qt::TabFocus)) {
            return widget;
        }
    }
    return nullptr;
}

void CPageView::ResetScroll()
{
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
}

void CPageView::ScrollBy(bool vertical, int delta)
{
    QScrollBar* bar = vertical ? verticalScrollBar() : horizontalScrollBar();
    bar->setValue(bar->value() + delta);
}

bool CPageView::HandlePageKey(const QKeyEvent& key)
{
    const bool shift = key.modifiers() & Qt::ShiftModifier;
    QScrollBar* pageBar = shift ? horizontalScrollBar() : verticalScrollBar();
    switch (key.key()) {
        case Qt::Key_PageUp:
            pageBar->setValue(pageBar->value() - pageBar->pageStep());
            return true;
        case Qt::Key_PageDown:
            pageBar->setValue(pageBar->value() + pageBar->pageStep());
            return true;
        case Qt::Key_Home:
            pageBar->setValue(pageBar->minimum());
            return true;
        case Qt::Key_End:
            pageBar->setValue(pageBar->maximum());
            return true;
        case Qt::Key_Left:
            ScrollBy(false, -kLineStep);
            return true;
        case Qt::Key_Right:
            ScrollBy(false, kLineStep);
            return true;
        case Qt::Key_Up:
            ScrollBy(true, -kLineStep);
            return true;
        case Qt::Key_Down:
            ScrollBy(true, kLineStep);
            return true;
        default:
            return false;
    }
}

bool CPageView::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto& key = static_cast<const QKeyEvent&>(*event);
        // On a page Enter and Escape close nothing and press no default button; in a multi-line edit
        // Enter breaks the line. A focused push button takes Enter before this filter sees it.
        const bool enter = key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter;
        if (!m_dialogKeys && (key.key() == Qt::Key_Escape || (enter && !qobject_cast<QPlainTextEdit*>(watched)))) {
            return true;
        }
        if (IsPageScrollKey(key)) {
            return HandlePageKey(key);
        }
    } else if (event->type() == QEvent::FocusIn) {
        if (auto* widget = qobject_cast<QWidget*>(watched)) {
            ensureWidgetVisible(widget, kScrollMargin, kScrollMargin);
        }
    }
    return QScrollArea::eventFilter(watched, event);
}

void CPageView::wheelEvent(QWheelEvent* event)
{
    const QPoint delta = event->angleDelta();
    const int amount = delta.y() != 0 ? delta.y() : delta.x();
    if (amount == 0) {
        return;
    }
    QScrollBar* bar = verticalScrollBar()->maximum() > 0 ? verticalScrollBar() : horizontalScrollBar();
    // One page per notch: toward the start for a positive delta.
    const int notches = std::max(1, std::abs(amount) / 120);
    bar->setValue(bar->value() + (amount > 0 ? -notches : notches) * bar->pageStep());
    event->accept();
}

} // namespace qzb
