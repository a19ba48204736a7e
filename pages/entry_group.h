#pragma once

#include "addressbook/address_book.h"
#include "pages/entry_editor.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qzb {

// The one field of the group name editor.
struct GroupNameField
{
    enum : EntryFieldId { Name };
};

// The group name editor, opened with the group's current display label.
class CGroupNameEditor : public CEntryForm
{
public:
    static constexpr std::string_view kCaptionKey = "STR_DLG_EDIT_GROUP_NAME";
    static constexpr std::string_view kRatioKey = "STR_RATIO_DLG_GROUP_NAME";
    static std::span<const CEntryFieldDef> FieldDefs();

    CGroupNameEditor(std::int32_t groupNumber, std::u16string_view currentLabel, const CEntryEnv& env);
    // Opened with the label the book gives the group.
    CGroupNameEditor(const CAddressBook& book, std::int32_t groupNumber, const CEntryEnv& env);

    std::int32_t Number() const { return m_number; }
    // An unchanged text stores nothing.
    CEntryResult Ok(CAddressBook& book) const;

private:
    CEntryEnv m_env;
    std::int32_t m_number;
    std::u16string m_openedWith;
};

// The fields of a directory record that no editor has, under the names qzbctl dump and the
// comparison give them: a scan entry's file size, a group's kind and members.
inline constexpr std::string_view kScanFileSizeName = "size";
inline constexpr std::string_view kGroupKindName = "kind";
inline constexpr std::string_view kGroupMembersName = "members";

// One candidate row of the favourite registration list.
struct CFavouriteRow
{
    std::int32_t number = 0;
    std::u16string name; // the entry's name, or the group's display label
};

// The fields of the favourite registration dialog: a speed dial or a group, each a radio with the
// list of its candidates. Choosing a row of one chooses its radio too.
struct FavouriteField
{
    enum : EntryFieldId { Speed, Group };
};

// The favourite registration dialog of one free slot. The book must outlive the editor.
class CFavouriteEditor : public CEntryForm
{
public:
    static constexpr std::string_view kCaptionKey = "STR_DLG_REGISTER_ADDRESS_BOOK";
    static constexpr std::string_view kRatioKey = "STR_RATIO_DLG_ADDRESS_BOOK";
    static std::span<const CEntryFieldDef> FieldDefs();

    CFavouriteEditor(const CAddressBook& book, std::int32_t slot, const CEntryEnv& env);

    std::int32_t Slot() const { return m_slot; }
    std::int32_t TargetKind() const { return m_targetKind; }
    // Lists the speed dials (kTargetSpeedDial) or the groups (kTargetGroup) and selects the first row.
    void ChooseList(std::int32_t targetKind);
    const std::vector<CFavouriteRow>& Rows() const { return m_rows; }
    // -1 without a selection.
    std::int32_t SelectedRow() const { return m_selected; }
    void SelectRow(std::int32_t row);

    CEntryResult Ok(CAddressBook& book) const;

protected:
    CEntryInput ApplyRow(EntryFieldId id, std::int32_t number) override;

private:
    void RefreshFields();

    const CAddressBook& m_book;
    CEntryEnv m_env;
    std::int32_t m_slot;
    std::int32_t m_targetKind = kTargetSpeedDial;
    std::vector<CFavouriteRow> m_rows;
    std::int32_t m_selected = -1;
};

// Deletes a speed dial (fax/e-mail or scan-to-server by its range), a whole group or a favourite with
// the book's cascades. False when there is nothing under the number.
bool DeleteSpeedDial(CAddressBook& book, std::int32_t number);
bool DeleteGroup(CAddressBook& book, std::int32_t groupNumber);

// Every text key the entry editors and their dialogs look up.
std::vector<std::string> EntryEditorTextKeys();

} // namespace qzb
