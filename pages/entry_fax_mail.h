#pragma once

#include "addressbook/address_book.h"
#include "pages/entry_editor.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace qzb {

// What the details dialog of a fax entry sets: the transmission speed and the batch time.
struct CFaxDetails
{
    std::int32_t speed = kFaxSpeed33600;
    std::int32_t hour = -1; // -1: no batch time
    std::int32_t minute = -1;

    bool operator==(const CFaxDetails&) const = default;
};

// The details dialog: fields "speed" (1, 2, 3), "hour" and "minute" (two digits each).
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

    // Types the value character by character through the rules above; the hour is then left.
    CEntryInput SetField(std::string_view name, std::u16string_view value);
    // The character checks, then the batch time whole or not at all.
    CEntryResult Ok(CFaxDetails* result) const;

private:
    const CValueStore& m_store;
};

// The fax/e-mail editor of one speed dial 1-220. Fields: "kind" (fax, email), "name", "number" (fax
// only), "address" (e-mail only), "speed" and "batch" (fax only: the pending details, shown as
// "1".."3" and "HH:MM" or ""), "groups" (the checked rows of the group check list, "1,4,7").
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
    std::int32_t Kind() const { return Value("kind"); }

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

    // A field by name as a user would fill it. "speed" and "batch" open the details dialog, set its
    // field and end it with OK; "groups" unchecks the rows not listed, then checks the listed ones in order.
    CEntryInput SetField(std::string_view name, std::u16string_view value);

    // Runs every check of OK in order; on success writes the entry and its group memberships into
    // the book. The book is unchanged on a refusal.
    CEntryResult Ok(CAddressBook& book) const;

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
