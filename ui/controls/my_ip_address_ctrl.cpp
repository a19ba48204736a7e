#include "ui/controls/my_ip_address_ctrl.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRegularExpressionValidator>

#include <algorithm>
#include <utility>

namespace qzb {

namespace {

constexpr int kOctetDigits = 3;
constexpr int kOctetMax = 255;

// The octet a field's text stands for; an empty field has none. "007" stands for 7.
std::optional<std::uint8_t> OctetOf(const QString& text)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok) {
        return std::nullopt;
    }
    return static_cast<std::uint8_t>(std::min(value, kOctetMax));
}

// A key typed as text: Shift may be needed for a digit or the dot on some keyboard layouts.
bool IsTyped(const QKeyEvent& key)
{
    return (key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) == Qt::NoModifier;
}

// The dot, the space, and the keypad's decimal key whatever the layout puts on it, end an octet.
bool IsSeparator(const QKeyEvent& key)
{
    const QString text = key.text();
    return IsTyped(key) && (text == QLatin1String(".") || text == QLatin1String(" ") ||
                            ((key.modifiers() & Qt::KeypadModifier) != 0 && text == QLatin1String(",")));
}

bool IsModifierKey(int key)
{
    switch (key) {
        case Qt::Key_Shift:
        case Qt::Key_Control:
        case Qt::Key_Alt:
        case Qt::Key_AltGr:
        case Qt::Key_Meta:
        case Qt::Key_CapsLock:
        case Qt::Key_NumLock:
            return true;
        default:
            return false;
    }
}

} // namespace

CMyIPAddressCtrl::CMyIPAddressCtrl(QWidget* parent)
    : QFrame(parent)
{
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 0, 2, 0);
    layout->setSpacing(0);
    auto* digits = new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,3}")), this);
    for (int i = 0; i < kFieldCount; ++i) {
        if (i > 0) {
            layout->addWidget(new QLabel(QStringLiteral("."), this));
        }
        auto* field = new QLineEdit(this);
        field->setFrame(false);
        field->setAlignment(Qt::AlignCenter);
        // Room for three digits, like the platform's address control, not a whole line edit's.
        field->setFixedWidth(field->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 8);
        field->setMaxLength(kOctetDigits);
        field->setValidator(digits);
        field->setAcceptDrops(false);
        field->setContextMenuPolicy(Qt::PreventContextMenu);
        // The control is one stop of the dialog's tab order, at its first field; the others are
        // reached by typing or with the mouse.
        field->setFocusPolicy(i == 0 ? Qt::StrongFocus : Qt::ClickFocus);
        field->installEventFilter(this);
        connect(field, &QLineEdit::textEdited, this, [this, i] { OnFieldEdited(i); });
        connect(field, &QLineEdit::textChanged, this, &CMyIPAddressCtrl::AddressChanged);
        layout->addWidget(field, 1);
        m_fields[static_cast<std::size_t>(i)] = field;
    }
    setFocusProxy(m_fields[0]);
    connect(this, &QObject::objectNameChanged, this, &CMyIPAddressCtrl::NameFields);
}

QLineEdit* CMyIPAddressCtrl::Field(int field) const
{
    return field >= 0 && field < kFieldCount ? m_fields[static_cast<std::size_t>(field)] : nullptr;
}

void CMyIPAddressCtrl::NameFields()
{
    for (int i = 0; i < kFieldCount; ++i) {
        Field(i)->setObjectName(objectName() + QStringLiteral("Field") + QString::number(i));
    }
}

void CMyIPAddressCtrl::SetAccessibleNames(const QString& name)
{
    setAccessibleName(name);
    for (int i = 0; i < kFieldCount; ++i) {
        Field(i)->setAccessibleName(name);
        Field(i)->setAccessibleDescription(tr("Part %1 of 4 of the address").arg(i + 1));
    }
}

void CMyIPAddressCtrl::SetReadOnly(bool readOnly)
{
    for (QLineEdit* field : m_fields) {
        field->setReadOnly(readOnly);
    }
}

int CMyIPAddressCtrl::GetAddress(CAddressFields& fields) const
{
    int filled = 0;
    for (int i = 0; i < kFieldCount; ++i) {
        auto& octet = fields[static_cast<std::size_t>(i)];
        octet = OctetOf(Field(i)->text());
        filled += octet ? 1 : 0;
    }
    return filled;
}

void CMyIPAddressCtrl::SetAddress(const CAddressFields& fields)
{
    bool changed = false;
    for (int i = 0; i < kFieldCount; ++i) {
        const auto& octet = fields[static_cast<std::size_t>(i)];
        // A field that already stands for the octet keeps its text: the page hands every typed
        // digit back, and "00" must stay as typed for the "7" that makes it "007".
        if (OctetOf(Field(i)->text()) != octet) {
            const QSignalBlocker blocker(Field(i));
            Field(i)->setText(octet ? QString::number(*octet) : QString());
            changed = true;
        }
    }
    if (changed) {
        emit AddressChanged();
    }
}

void CMyIPAddressCtrl::ClearAddress()
{
    SetAddress({});
}

bool CMyIPAddressCtrl::IsBlank() const
{
    CAddressFields fields;
    return GetAddress(fields) == 0;
}

void CMyIPAddressCtrl::SetFieldFocus(int field)
{
    if (field < 0 || field >= kFieldCount) {
        field = 0;
        for (int i = 0; i < kFieldCount; ++i) {
            if (Field(i)->text().isEmpty()) {
                field = i;
                break;
            }
        }
    }
    Field(field)->setFocus(Qt::OtherFocusReason);
    Field(field)->selectAll();
}

void CMyIPAddressCtrl::FocusField(int field, bool cursorAtEnd)
{
    QLineEdit* target = Field(field);
    if (!target) {
        return;
    }
    target->setFocus(Qt::OtherFocusReason);
    if (cursorAtEnd) {
        target->end(false);
    } else {
        target->selectAll();
    }
}

void CMyIPAddressCtrl::OnFieldEdited(int field)
{
    QLineEdit* edit = Field(field);
    // Like the platform control, an octet over 255 becomes 255.
    if (edit->text().toInt() > kOctetMax) {
        edit->setText(QString::number(kOctetMax));
    }
    if (edit->text().size() == kOctetDigits && edit->cursorPosition() == kOctetDigits && field + 1 < kFieldCount) {
        FocusField(field + 1, false);
        m_movedOnTo = field + 1;
    }
}

int CMyIPAddressCtrl::FieldIndex(const QObject* object) const
{
    for (int i = 0; i < kFieldCount; ++i) {
        if (Field(i) == object) {
            return i;
        }
    }
    return -1;
}

bool CMyIPAddressCtrl::eventFilter(QObject* watched, QEvent* event)
{
    const int field = FieldIndex(watched);
    if (field < 0) {
        return QFrame::eventFilter(watched, event);
    }
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            m_movedOnTo = -1;
            return static_cast<QMouseEvent*>(event)->button() == Qt::RightButton;
        case QEvent::MouseButtonRelease:
            // The middle button would paste the X11 selection.
            return static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton;
        case QEvent::ContextMenu:
            return true;
        case QEvent::KeyPress:
            return FilterKey(field, *static_cast<QKeyEvent*>(event));
        default:
            return false;
    }
}

bool CMyIPAddressCtrl::FilterKey(int field, QKeyEvent& key)
{
    if (IsModifierKey(key.key())) {
        return false; // Shift on its way to a dot is no key of its own
    }
    const int movedOnTo = std::exchange(m_movedOnTo, -1);
    if (key.matches(QKeySequence::Paste) ||
        (key.key() == Qt::Key_Insert && (key.modifiers() & Qt::ShiftModifier) != 0)) {
        return true;
    }
    QLineEdit* edit = Field(field);
    if (IsSeparator(key)) {
        // After an octet the control completed and moved on from, the separator ends that octet: the
        // move is made already. Otherwise it ends this field's octet; in an empty field it waits.
        if (movedOnTo != field && !edit->text().isEmpty()) {
            FocusField(field + 1, false);
        }
        return true;
    }
    const bool plain = (key.modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (!plain || edit->hasSelectedText()) {
        return false;
    }
    const bool atStart = edit->cursorPosition() == 0;
    const bool atEnd = edit->cursorPosition() == edit->text().size();
    switch (key.key()) {
        // Backspace and Left at a field's start step over the dot into the field before; Delete and
        // Right at its end into the field after.
        case Qt::Key_Backspace:
            if (atStart) {
                FocusField(field - 1, true);
                return true;
            }
            return false;
        case Qt::Key_Left:
            if (atStart && field > 0) {
                FocusField(field - 1, true);
                return true;
            }
            return false;
        case Qt::Key_Delete:
        case Qt::Key_Right:
            if (atEnd && field + 1 < kFieldCount) {
                Field(field + 1)->setFocus(Qt::OtherFocusReason);
                Field(field + 1)->home(false);
                return true;
            }
            return false;
        default:
            return false;
    }
}

} // namespace qzb
