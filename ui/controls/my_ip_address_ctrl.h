#pragma once

#include <QFrame>

#include <array>
#include <cstdint>
#include <optional>

class QKeyEvent;
class QLineEdit;

namespace qzb {

// The four octets of an IPv4 address as the control shows them; an empty field has no value.
using CAddressFields = std::array<std::optional<std::uint8_t>, 4>;

// The four-field IPv4 address control. Nothing can be pasted into it and it has no context menu, so
// that every octet is typed. Typing an address over the one shown gives exactly the address typed:
// a full octet moves on by itself, and the dot the user types after it then ends that octet instead
// of skipping the next field.
class CMyIPAddressCtrl : public QFrame
{
    Q_OBJECT

public:
    static constexpr int kFieldCount = 4;
    // SetFieldFocus with this field focuses the first empty one.
    static constexpr int kFirstEmptyField = 4;

    explicit CMyIPAddressCtrl(QWidget* parent = nullptr);

    // Returns the number of fields that are not empty.
    int GetAddress(CAddressFields& fields) const;
    void SetAddress(const CAddressFields& fields);
    void ClearAddress();
    bool IsBlank() const;
    // Fields 0-3; any other value the first empty field, or field 0 when none is empty.
    void SetFieldFocus(int field);

    QLineEdit* Field(int field) const;
    // Names the control and each of its four fields for assistive technology: the fields are
    // described as the first to fourth part of the address.
    void SetAccessibleNames(const QString& name);
    // A control that shows an address the user cannot change: its fields take no typing.
    void SetReadOnly(bool readOnly);

signals:
    void AddressChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int FieldIndex(const QObject* object) const;
    void FocusField(int field, bool cursorAtEnd);
    void OnFieldEdited(int field);
    void NameFields();
    bool FilterKey(int field, QKeyEvent& key);

    std::array<QLineEdit*, kFieldCount> m_fields{};
    // The field the control moved to by itself after a full octet, until the next key: a separator
    // typed there belongs to the octet before.
    int m_movedOnTo = -1;
};

} // namespace qzb
