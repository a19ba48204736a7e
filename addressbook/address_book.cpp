#include "addressbook/address_book.h"

#include <algorithm>
#include <utility>

namespace qzb {

namespace {

bool InRange(std::int32_t number, std::int32_t first, std::int32_t last)
{
    return number >= first && number <= last;
}

bool IsSpeedDialNumber(std::int32_t number)
{
    return InRange(number, kFirstFaxMailNumber, kLastScanNumber);
}

template <typename Record>
auto FindByNumber(std::vector<Record>& list, std::int32_t number)
{
    return std::find_if(list.begin(), list.end(), [number](const Record& record) { return record.number == number; });
}

// Lists are kept sorted by number.
template <typename Record>
const Record* FindPointer(const std::vector<Record>& list, std::int32_t number)
{
    const auto found = std::lower_bound(
        list.begin(), list.end(), number, [](const Record& record, std::int32_t n) { return record.number < n; });
    return found == list.end() || found->number != number ? nullptr : &*found;
}

// Replaces the record with the same number and keeps the list in number order. The list is sorted
// and its numbers unique, so the place is found by halving: loading a full directory stays linear.
template <typename Record, typename Value>
void PutSorted(std::vector<Record>& list, Value&& record)
{
    // Loaders put records in ascending order: they go to the end without a search.
    if (list.empty() || list.back().number < record.number) {
        list.push_back(std::forward<Value>(record));
        return;
    }
    const auto at = std::lower_bound(list.begin(), list.end(), record.number, [](const Record& r, std::int32_t number) {
        return r.number < number;
    });
    if (at != list.end() && at->number == record.number) {
        *at = std::forward<Value>(record);
    } else {
        list.insert(at, std::forward<Value>(record));
    }
}

template <typename Record>
CNumberResult FirstFree(const std::vector<Record>& list, std::int32_t first, std::int32_t last, std::size_t capacity)
{
    if (list.size() >= capacity) {
        return {kMsgFullRegistDial, 0};
    }
    for (std::int32_t number = first; number <= last; ++number) {
        if (!FindPointer(list, number)) {
            return {kOk, number};
        }
    }
    return {kMsgFullRegistDial, 0};
}

bool HasMember(const CGroupEntry& group, std::int32_t speedNumber)
{
    return std::binary_search(group.members.begin(), group.members.end(), speedNumber);
}

} // namespace

bool CAddressBook::Empty() const
{
    return m_faxMail.empty() && m_scan.empty() && m_groups.empty() && m_favourites.empty();
}

void CAddressBook::Clear()
{
    m_faxMail.clear();
    m_scan.clear();
    m_groups.clear();
    m_favourites.clear();
}

void CAddressBook::ClearFaxMailGroupsAndFavourites()
{
    m_faxMail.clear();
    m_groups.clear();
    m_favourites.clear();
}

void CAddressBook::ClearScanEntries()
{
    m_scan.clear();
}

void CAddressBook::Swap(CAddressBook& other) noexcept
{
    m_faxMail.swap(other.m_faxMail);
    m_scan.swap(other.m_scan);
    m_groups.swap(other.m_groups);
    m_favourites.swap(other.m_favourites);
}

const CFaxMailEntry* CAddressBook::FindFaxMailEntry(std::int32_t number) const
{
    return FindPointer(m_faxMail, number);
}

const CScanEntry* CAddressBook::FindScanEntry(std::int32_t number) const
{
    return FindPointer(m_scan, number);
}

const CGroupEntry* CAddressBook::FindGroup(std::int32_t number) const
{
    return FindPointer(m_groups, number);
}

const CFavourite* CAddressBook::FindFavourite(std::int32_t number) const
{
    return FindPointer(m_favourites, number);
}

CNumberResult CAddressBook::FirstFreeNumber(AddressList list) const
{
    switch (list) {
        case AddressList::FaxMail:
            return FirstFree(m_faxMail, kFirstFaxMailNumber, kLastFaxMailNumber, kMaxFaxMailEntries);
        case AddressList::Scan:
            return FirstFree(m_scan, kFirstScanNumber, kLastScanNumber, kMaxScanEntries);
        case AddressList::Favourite:
            // A favourite needs a speed dial to point to; groups alone do not count.
            if (m_faxMail.empty() && m_scan.empty()) {
                return {kMsgNotRegistSpeedGroupDial, 0};
            }
            return FirstFree(m_favourites, kFirstFavouriteNumber, kLastFavouriteNumber, kMaxFavourites);
    }
    return {kMsgFullRegistDial, 0};
}

MessageCode CAddressBook::PutFaxMailEntry(const CFaxMailEntry& entry)
{
    if (!InRange(entry.number, kFirstFaxMailNumber, kLastFaxMailNumber)) {
        return kMsgInvalidRangeValue;
    }
    PutSorted(m_faxMail, entry);
    TakeOverGroupKind(entry.number, entry.kind);
    return kOk;
}

MessageCode CAddressBook::PutScanEntry(const CScanEntry& entry)
{
    return PutScanEntry(CScanEntry(entry));
}

MessageCode CAddressBook::PutScanEntry(CScanEntry&& entry)
{
    if (!InRange(entry.number, kFirstScanNumber, kLastScanNumber)) {
        return kMsgInvalidRangeValue;
    }
    PutSorted(m_scan, std::move(entry));
    return kOk;
}

MessageCode CAddressBook::PutGroup(CGroupEntry group)
{
    if (!InRange(group.number, kFirstGroupNumber, kLastGroupNumber) ||
        !std::all_of(group.members.begin(), group.members.end(), IsSpeedDialNumber)) {
        return kMsgInvalidRangeValue;
    }
    std::sort(group.members.begin(), group.members.end());
    group.members.erase(std::unique(group.members.begin(), group.members.end()), group.members.end());
    if (group.members.size() > kMaxGroupMembers) {
        return kMsgGroupOver50Err;
    }
    PutSorted(m_groups, std::move(group));
    return kOk;
}

MessageCode CAddressBook::SetGroupName(std::int32_t groupNumber, std::string_view panelName, std::uint16_t setDate)
{
    if (!InRange(groupNumber, kFirstGroupNumber, kLastGroupNumber)) {
        return kMsgInvalidRangeValue;
    }
    if (const auto group = FindByNumber(m_groups, groupNumber); group != m_groups.end()) {
        group->name.Assign(panelName);
        return kOk;
    }
    CGroupEntry group;
    group.number = groupNumber;
    group.setDate = setDate;
    group.name.Assign(panelName);
    PutSorted(m_groups, std::move(group));
    return kOk;
}

MessageCode CAddressBook::AddFavourite(std::int32_t slot, std::int32_t targetKind, std::int32_t targetNumber)
{
    if (!InRange(slot, kFirstFavouriteNumber, kLastFavouriteNumber) || FindFavourite(slot)) {
        return kMsgInvalidRangeValue;
    }
    PutSorted(m_favourites, CFavourite{slot, targetKind, targetNumber});
    return kOk;
}

MessageCode CAddressBook::SetGroupMembership(
    std::int32_t groupNumber, std::int32_t speedNumber, bool member, std::int32_t kind, std::uint16_t setDate)
{
    if (!InRange(groupNumber, kFirstGroupNumber, kLastGroupNumber) || !IsSpeedDialNumber(speedNumber)) {
        return kMsgInvalidRangeValue;
    }
    const auto group = FindByNumber(m_groups, groupNumber);
    if (!member) {
        if (group != m_groups.end() && HasMember(*group, speedNumber)) {
            RemoveMemberAt(static_cast<std::size_t>(group - m_groups.begin()), speedNumber);
        }
        return kOk;
    }
    if (group == m_groups.end()) {
        CGroupEntry created;
        created.number = groupNumber;
        created.kind = kind;
        created.members.push_back(speedNumber);
        created.setDate = setDate;
        PutSorted(m_groups, std::move(created));
        return kOk;
    }
    if (HasMember(*group, speedNumber)) {
        return kOk;
    }
    if (const MessageCode full = CheckGroupSize(groupNumber); full != kOk) {
        return full;
    }
    // A group named before it had members has no kind yet; its first member gives it one.
    if (group->members.empty()) {
        group->kind = kind;
    }
    group->members.insert(std::lower_bound(group->members.begin(), group->members.end(), speedNumber), speedNumber);
    return kOk;
}

MessageCode CAddressBook::RemoveMemberFromGroup(std::int32_t groupNumber, std::int32_t speedNumber)
{
    if (!InRange(groupNumber, kFirstGroupNumber, kLastGroupNumber)) {
        return kMsgInvalidRangeValue;
    }
    if (const auto group = FindByNumber(m_groups, groupNumber); group != m_groups.end()) {
        RemoveMemberAt(static_cast<std::size_t>(group - m_groups.begin()), speedNumber);
    }
    return kOk;
}

bool CAddressBook::DeleteFaxMailEntry(std::int32_t number)
{
    return DeleteSpeedDial(m_faxMail, number);
}

bool CAddressBook::DeleteScanEntry(std::int32_t number)
{
    return DeleteSpeedDial(m_scan, number);
}

bool CAddressBook::DeleteFavourite(std::int32_t number)
{
    const auto favourite = FindByNumber(m_favourites, number);
    if (favourite == m_favourites.end()) {
        return false;
    }
    EraseFavouriteAt(static_cast<std::size_t>(favourite - m_favourites.begin()));
    return true;
}

MessageCode CAddressBook::CheckGroupAdmission(std::int32_t groupNumber, std::int32_t kind) const
{
    if (const MessageCode wrongKind = CheckGroupKind(groupNumber, kind); wrongKind != kOk) {
        return wrongKind;
    }
    return CheckGroupSize(groupNumber);
}

MessageCode CAddressBook::CheckGroupKind(std::int32_t groupNumber, std::int32_t kind) const
{
    const CGroupEntry* group = FindGroup(groupNumber);
    if (!group || group->members.empty() || group->kind == kind) {
        return kOk;
    }
    return kind == kKindMail ? kMsgGroupEmailRegistErr : kMsgGroupFaxRegistErr;
}

MessageCode CAddressBook::CheckGroupSize(std::int32_t groupNumber) const
{
    const CGroupEntry* group = FindGroup(groupNumber);
    if (!group || group->members.size() < kMaxGroupMembers) {
        return kOk;
    }
    const auto fullGroups = std::count_if(
        m_groups.begin(), m_groups.end(), [](const CGroupEntry& g) { return g.members.size() >= kMaxGroupMembers; });
    return static_cast<std::size_t>(fullGroups) >= kMaxGroups ? kMsgGroupNotAddErr : kMsgGroupOver50Err;
}

template <typename Record>
bool CAddressBook::DeleteSpeedDial(std::vector<Record>& list, std::int32_t number)
{
    const auto entry = FindByNumber(list, number);
    if (entry == list.end()) {
        return false;
    }
    // Every group is visited, so groups that never had a member (named only) go as well.
    for (std::size_t position = 0; position < m_groups.size();) {
        if (!RemoveMemberAt(position, number)) {
            ++position;
        }
    }
    for (std::size_t position = 0; position < m_favourites.size();) {
        const CFavourite& favourite = m_favourites[position];
        if (favourite.targetKind != kTargetGroup && favourite.targetNumber == number) {
            EraseFavouriteAt(position);
        } else {
            ++position;
        }
    }
    list.erase(entry);
    return true;
}

// Returns true when the group was deleted, so that a walk over the groups stays at the position.
bool CAddressBook::RemoveMemberAt(std::size_t groupPosition, std::int32_t speedNumber)
{
    std::vector<std::int32_t>& members = m_groups[groupPosition].members;
    members.erase(std::remove(members.begin(), members.end(), speedNumber), members.end());
    if (!members.empty()) {
        return false;
    }
    DeleteGroupAt(groupPosition);
    return true;
}

void CAddressBook::DeleteGroupAt(std::size_t groupPosition)
{
    const std::int32_t groupNumber = m_groups[groupPosition].number;
    for (std::size_t position = 0; position < m_favourites.size();) {
        const CFavourite& favourite = m_favourites[position];
        if (favourite.targetKind == kTargetGroup && favourite.targetNumber == groupNumber) {
            EraseFavouriteAt(position);
        } else {
            ++position;
        }
    }
    m_groups.erase(m_groups.begin() + static_cast<std::ptrdiff_t>(groupPosition));
}

// The device numbers its favourite keys without gaps, so later slots close up behind a removed one.
void CAddressBook::EraseFavouriteAt(std::size_t position)
{
    const std::int32_t removed = m_favourites[position].number;
    m_favourites.erase(m_favourites.begin() + static_cast<std::ptrdiff_t>(position));
    for (CFavourite& favourite : m_favourites) {
        if (favourite.number > removed) {
            --favourite.number;
        }
    }
}

void CAddressBook::TakeOverGroupKind(std::int32_t speedNumber, std::int32_t kind)
{
    for (CGroupEntry& group : m_groups) {
        if (HasMember(group, speedNumber)) {
            group.kind = kind;
        }
    }
}

} // namespace qzb
