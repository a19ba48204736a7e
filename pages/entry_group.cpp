#include "pages/entry_group.h"

#include "pages/entry_fax_mail.h"
#include "pages/entry_scan.h"

#include "addressbook/group_label.h"
#include "app/string_table.h"
#include "model/panel_code.h"
#include "model/text_codec.h"

#include <algorithm>
#include <iterator>

namespace qzb {

namespace {

constexpr CEntryFieldDef kGroupNameFields[] = {
    {.id = GroupNameField::Name,
     .name = "name",
     .kind = EntryFieldKind::Text,
     .textKey = "STR_DLG_EGN_TXT_GROUP_NAME",
     .limit = 20,
     .inputKind = InputKind::Name},
};
static_assert(IdsAreRows(kGroupNameFields));

// A row field's one option names the list it chooses.
constexpr CEntryOption kSpeedDialList[] = {{{}, {}, kTargetSpeedDial}};
constexpr CEntryOption kGroupList[] = {{{}, {}, kTargetGroup}};
constexpr CEntryFieldDef kFavouriteFields[] = {
    {.id = FavouriteField::Speed,
     .name = "speed",
     .kind = EntryFieldKind::Row,
     .textKey = "STR_DLG_RAB_RAD_SPEED_DIAL",
     .options = kSpeedDialList,
     .frameKey = "STR_DLG_RAB_TXT_SETTING_FRAM"},
    {.id = FavouriteField::Group,
     .name = "group",
     .kind = EntryFieldKind::Row,
     .textKey = "STR_DLG_RAB_RAD_GROUP_DIAL",
     .options = kGroupList},
};
static_assert(IdsAreRows(kFavouriteFields));

// Texts of the dialogs that no field carries: frames, list columns, buttons and the port range.
constexpr std::string_view kDialogTextKeys[] = {
    CFavouriteEditor::kCaptionKey,
    CFavouriteEditor::kRatioKey,
    "STR_DLG_RAB_TXT_SETTING_FRAM",
    "STR_DLG_RAB_TXT_SPEED_GROUP_FRAM",
    "STR_DLG_RAB_LST_NO",
    "STR_DLG_RAB_LST_NAME",
    CGroupNameEditor::kCaptionKey,
    CGroupNameEditor::kRatioKey,
    CFaxMailEditor::kCaptionKey,
    CFaxMailEditor::kRatioKey,
    "STR_DLG_RSDFE_TXT_FAX",
    "STR_DLG_RSDFE_TXT_E_MAIL",
    "STR_DLG_RSDFE_BTN_DETAILS",
    CFaxDetailsForm::kCaptionKey,
    CScanEditor::kCaptionKey,
    CScanEditor::kRatioKey,
    "STR_DLG_RSDSTS_TXT_FTP",
    "STR_DLG_RSDSTS_TXT_SMB",
    "STR_DLG_RSDSTS_TXT_DESTINATION_ADDRESS",
    "STR_DLG_RSDSTS_TXT_REMOTE_PORT_RANGE",
    "STR_DLG_RSDSTS_TXT_NOTIFICATION_ADDRESS",
    "STR_DLG_BTN_OK",
    "STR_DLG_BTN_CANCEL",
};

bool PointedTo(const CAddressBook& book, std::int32_t targetKind, std::int32_t number)
{
    const auto& favourites = book.Favourites();
    return std::any_of(favourites.begin(), favourites.end(), [&](const CFavourite& f) {
        return f.targetKind == targetKind && f.targetNumber == number;
    });
}

} // namespace

std::span<const CEntryFieldDef> CGroupNameEditor::FieldDefs()
{
    return kGroupNameFields;
}

std::span<const CEntryFieldDef> CFavouriteEditor::FieldDefs()
{
    return kFavouriteFields;
}

CGroupNameEditor::CGroupNameEditor(std::int32_t groupNumber, std::u16string_view currentLabel, const CEntryEnv& env)
    : CEntryForm(kGroupNameFields)
    , m_env(env)
    , m_number(groupNumber)
    , m_openedWith(currentLabel)
{
    Edit(GroupNameField::Name).text = m_openedWith;
}

CGroupNameEditor::CGroupNameEditor(const CAddressBook& book, std::int32_t groupNumber, const CEntryEnv& env)
    : CGroupNameEditor(
          groupNumber,
          GroupDisplayLabel(book.FindGroup(groupNumber), groupNumber, GroupLabelFormat(env), PanelLanguage(*env.store)),
          env)
{
}

CEntryResult CGroupNameEditor::Ok(CAddressBook& book) const
{
    if (!TextPasses(GroupNameField::Name, *m_env.store)) {
        return {kMsgInvalidRangeValueThisLang, GroupNameField::Name};
    }
    const std::u16string& name = Text(GroupNameField::Name);
    if (name.empty()) {
        return {kMsgGroupNameErr, GroupNameField::Name};
    }
    if (name == m_openedWith) {
        return {};
    }
    if (const MessageCode code = book.SetGroupName(m_number, TextToPanelBytes(name, CNameField::kMaxLength));
        code != kOk) {
        return {code, GroupNameField::Name};
    }
    return {};
}

CFavouriteEditor::CFavouriteEditor(const CAddressBook& book, std::int32_t slot, const CEntryEnv& env)
    : CEntryForm(kFavouriteFields)
    , m_book(book)
    , m_env(env)
    , m_slot(slot)
{
    ChooseList(kTargetSpeedDial);
}

void CFavouriteEditor::ChooseList(std::int32_t targetKind)
{
    m_targetKind = targetKind;
    m_rows.clear();
    const CValueStore& store = *m_env.store;
    if (targetKind == kTargetSpeedDial) {
        for (const CFaxMailEntry& entry : m_book.FaxMailEntries()) {
            if (!PointedTo(m_book, kTargetSpeedDial, entry.number)) {
                m_rows.push_back({entry.number, PanelBytesToText(entry.name.View(), store)});
            }
        }
        for (const CScanEntry& entry : m_book.ScanEntries()) {
            if (!PointedTo(m_book, kTargetSpeedDial, entry.number)) {
                m_rows.push_back({entry.number, PanelBytesToText(entry.name.View(), store)});
            }
        }
    } else {
        for (const CGroupEntry& group : m_book.Groups()) {
            if (!group.members.empty() && !PointedTo(m_book, kTargetGroup, group.number)) {
                m_rows.push_back(
                    {group.number,
                     GroupDisplayLabel(&group, group.number, GroupLabelFormat(m_env), PanelLanguage(store))});
            }
        }
    }
    m_selected = m_rows.empty() ? -1 : 0;
    RefreshFields();
}

void CFavouriteEditor::SelectRow(std::int32_t row)
{
    m_selected = row >= 0 && static_cast<std::size_t>(row) < m_rows.size() ? row : -1;
    RefreshFields();
}

CEntryInput CFavouriteEditor::ApplyRow(EntryFieldId id, std::int32_t number)
{
    // A number the other list does not offer is refused with the list and its selection as they were.
    const std::int32_t previousKind = m_targetKind;
    const std::int32_t previousRow = m_selected;
    ChooseList(Field(id).def->options.front().value);
    const auto row =
        std::find_if(m_rows.begin(), m_rows.end(), [&](const CFavouriteRow& r) { return r.number == number; });
    if (row == m_rows.end()) {
        ChooseList(previousKind);
        SelectRow(previousRow);
        return {EntryRefusal::NotInList};
    }
    SelectRow(static_cast<std::int32_t>(row - m_rows.begin()));
    return {};
}

CEntryResult CFavouriteEditor::Ok(CAddressBook& book) const
{
    const EntryFieldId field = m_targetKind == kTargetSpeedDial ? FavouriteField::Speed : FavouriteField::Group;
    if (m_selected < 0) {
        return {kMsgListNotSelectedErr, field};
    }
    const std::int32_t number = m_rows[static_cast<std::size_t>(m_selected)].number;
    if (const MessageCode code = book.AddFavourite(m_slot, m_targetKind, number); code != kOk) {
        return {code, field};
    }
    return {};
}

void CFavouriteEditor::RefreshFields()
{
    const std::int32_t selected = m_selected < 0 ? 0 : m_rows[static_cast<std::size_t>(m_selected)].number;
    Edit(FavouriteField::Speed).value = m_targetKind == kTargetSpeedDial ? selected : 0;
    Edit(FavouriteField::Group).value = m_targetKind == kTargetGroup ? selected : 0;
}

bool DeleteSpeedDial(CAddressBook& book, std::int32_t number)
{
    return number <= kLastFaxMailNumber ? book.DeleteFaxMailEntry(number) : book.DeleteScanEntry(number);
}

bool DeleteGroup(CAddressBook& book, std::int32_t groupNumber)
{
    if (book.FindGroup(groupNumber) == nullptr) {
        return false;
    }
    // Taking out the last member (or any number from a group without members) deletes the group
    // together with the favourites that point to it.
    while (const CGroupEntry* group = book.FindGroup(groupNumber)) {
        book.RemoveMemberFromGroup(groupNumber, group->members.empty() ? 0 : group->members.front());
    }
    return true;
}

std::vector<std::string> EntryEditorTextKeys()
{
    std::vector<std::string> keys(std::begin(kDialogTextKeys), std::end(kDialogTextKeys));
    for (const auto defs : {std::span<const CEntryFieldDef>(kGroupNameFields),
                            std::span<const CEntryFieldDef>(kFavouriteFields),
                            CFaxMailEditor::FieldDefs(),
                            CFaxDetailsForm::FieldDefs(),
                            CScanEditor::FieldDefs()}) {
        for (const CEntryFieldDef& def : defs) {
            if (!def.textKey.empty()) {
                keys.emplace_back(def.textKey);
            }
            for (const CEntryOption& option : def.options) {
                if (!option.textKey.empty()) {
                    keys.emplace_back(option.textKey);
                }
            }
        }
    }
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
    return keys;
}

} // namespace qzb
