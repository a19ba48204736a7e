#include "ui/controls/my_ip_address_ctrl.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRegularExpressionValidator>

#include <algorithm>

namespace qzb {

namespace {

constexpr int kOctetDigits = 3;
constexpr int kOctetMax = 255;

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
        bool ok = false;
        const int value = Field(i)->text().toInt(&ok);
        auto& octet = fields[static_cast<std::size_t>(i)];
        octet.reset();
        if (ok) {
            octet = static_cast<std::uint8_t>(std::min(value, kOctetMax));
            ++filled;
        }
    }
    return filled;
}

void CMyIPAddressCtrl::SetAddress(const CAddressFields& fields)
{
    bool changed = false;
    for (int i = 0; i < kFieldCount; ++i) {
        const auto& octet = fields[static_cast<std::size_t>(i)];
        const QString text = octet ? QString::number(*octet) : QString();
        if (Field(i)->text() != text) {
            const QSignalBlocker blocker(Field(i));
            Field(i)->setText(text);
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
    if (edit->text().size() == kOctetDigits && edit->cursorPosition() == kOctetDigits) {
        FocusField(field + 1, false);
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
    QLineEdit* edit = Field(field);
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            return static_cast<QMouseEvent*>(event)->button() == Qt::RightButton;
        case QEvent::MouseButtonRelease:
            // The middle button would paste the X11 selection.
            return static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton;
        case QEvent::ContextMenu:
            return true;
        case QEvent::KeyPress: {
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->matches(QKeySequence::Paste) ||
                (key->key() == Qt::Key_Insert && (key->modifiers() & Qt::ShiftModifier) != 0)) {
                return true;
            }
            const bool plain = (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
            if (plain && (key->text() == QLatin1String(".") || key->text() == QLatin1String(" "))) {
                if (!edit->text().isEmpty()) {
                    FocusField(field + 1, false);
                }
                return true;
            }
            if (plain && key->key() == Qt::Key_Backspace && edit->text().isEmpty()) {
                FocusField(field - 1, true);
                return true;
            }
            if (plain && key->key() == Qt::Key_Left && edit->cursorPosition() == 0 && !edit->hasSelectedText() &&
                field > 0) {
                FocusField(field - 1, true);
                return true;
            }
            if (plain && key->key() == Qt::Key_Right && edit->cursorPosition() == edit->text().size() &&
                !edit->hasSelectedText() && field + 1 < kFieldCount) {
                Field(field + 1)->setFocus(Qt::OtherFocusReason);
                Field(field + 1)->home(false);
                return true;
            }
            return false;
        }
        default:
            return false;
    }
}

} // namespace qzb
