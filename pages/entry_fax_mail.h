#pragma once

#include "addressbook/address_book.h"
#include "pages/entry_editor.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace qzb {

// The kinds of a fax/e-mail entry (and of a group), with the words qzbctl and the dumps use.
inline constexpr CEntryOption kFaxMailKindOptions[] = {
    {"fax", "STR_DLG_RSDFE_RAD_FAX", kKindFax},
    {"email", "STR_DLG_RSDFE_RAD_E_MAIL", kKindMail},
};

// What the details dialog of a fax entry sets: the transmission speed and the batch time.
struct CFaxDetails
{
    std::int32_t speed = kFaxSpeed33600;
    std::int32_t hour = -1; // -1: no batch time
    std::int32_t minute = -1;

    bool operator==(const CFaxDetails&) const = default;
};

// The fields of the details dialog, in the order of its table.
struct FaxDetailsField
{
    enum : EntryFieldId { Speed, Hour, Minute };
};

// The details dialog: the speed (1, 2, 3), the hour and the minute (two digits each).
class CFaxDetailsForm : public CEntryForm
{
public:
    static constexpr std::string_view kCaptionKey = "STR_DLG_RSDFE_DETAILS";
    static constexpr std::string_view kRatioKey = "STR_RATIO_DLG_SPEED_DIAL_FAX_EMAIL";
    static std::span<const CEntryFieldDef> FieldDefs();

    CFaxDetailsForm(const CFaxDetails& pending, const CValueStore& store);

    // A typed text for the hour or minute field: false when the field puts the previous text back.
    static bool HourTextAccepted(std::u16string_view text);
    static bool MinuteTextAccepted(std::u16string_view text);
    // The hour field's text after it loses the focus: one digit gets a leading "0".
    static std::u16string HourOnLeave(std::u16string_view text);

    bool TextAccepted(EntryFieldId id, std::u16string_view text) const override;
    // Two hour digits move on to the minute.
    EntryFieldId FocusAfter(EntryFieldId id) const override;
    void Leave(EntryFieldId id) override;
    // The character checks, then the batch time whole or not at all.
    CEntryResult Ok(CFaxDetails* result) const;

private:
    const CValueStore& m_store;
};

// The fields of the fax/e-mail editor, in the order of its table: the kind (fax, email), the name,
// the fax number (fax only), the e-mail address (e-mail only), the speed and the batch time (fax
// only: the pending details) and the checked rows of the group check list.
struct FaxMailField
{
    enum : EntryFieldId { Kind, Name, Number, Address, Speed, Batch, Groups };
};

// The fax/e-mail editor of one speed dial 1-220.
class CFaxMailEditor : public CEntryForm
{
public:
    // The caption is a format taking the speed-dial number.
    static constexpr std::string_view kCaptionKey = "STR_DLG_REGISTER_SPEED_DIAL_FAX_EMAIL";
    static constexpr std::string_view kRatioKey = "STR_RATIO_DLG_SPEED_DIAL_FAX_EMAIL";
    static std::span<const CEntryFieldDef> FieldDefs();
    // The title of the box around the fields, after the kind.
    static std::string_view FrameKey(std::int32_t kind);

    CFaxMailEditor(const CAddressBook& book, std::int32_t number, const CEntryEnv& env);

    std::int32_t Number() const { return m_number; }
    bool IsNew() const { return m_isNew; }
    std::int32_t Kind() const { return Value(FaxMailField::Kind); }

    const CFaxDetails& PendingDetails() const { return m_details; }
    bool DetailsConfirmed() const { return m_detailsConfirmed; }
    // The details dialog ended with OK.
    void ConfirmDetails(const CFaxDetails& details);

    // The kind radios: the kind-only fields follow, and checked groups of the other kind are
    // unchecked without a message.
    void SetKind(std::int32_t kind);

    bool GroupChecked(std::int32_t group) const;
    // The label of a row of the group check list.
    std::u16string GroupRowLabel(std::int32_t group) const;
    // Checking runs the admission checks on the working copy of the groups and may uncheck with a
    // message; unchecking always succeeds.
    CEntryResult SetGroupChecked(std::int32_t group, bool checked);

    // Runs every check of OK in order; on success writes the entry and its group memberships into
    // the book. The book is unchanged on a refusal.
    CEntryResult Ok(CAddressBook& book) const;

protected:
    // The kind follows SetKind. The speed and the batch time open the details dialog, set its field
    // and end it with OK; the group list unchecks the rows not listed, then checks the listed ones in order.
    CEntryInput Changed(EntryFieldId id, std::int32_t previous) override;
    CEntryInput ApplyTime(EntryFieldId id, std::int32_t hour, std::int32_t minute) override;
    CEntryInput ApplyGroups(EntryFieldId id, std::span<const std::int32_t> groups) override;

private:
    void ApplyKindLayout();
    void RefreshSpecialTexts();

    CEntryEnv m_env;
    std::int32_t m_number;
    bool m_isNew = true;
    CFaxDetails m_details;
    bool m_detailsConfirmed = false;
    CAddressBook m_working; // only its groups are changed: the working copy of the group list
    std::array<bool, kMaxGroups> m_checked{};
};

} // namespace qzb
