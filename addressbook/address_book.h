#pragma once

#include "addressbook/address_records.h"
#include "base/message_codes.h"
#include "model/panel_code.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace qzb {

enum class AddressList { FaxMail, Scan, Favourite };

struct CNumberResult
{
    MessageCode code = kOk;
    std::int32_t number = 0; // valid when code is kOk
};

// The device's dialling directory between a download (or opening a settings file) and the next
// upload (or save). Every list is sorted by number, numbers are unique and in their range, and group
// members ascend without repeats. Deleting a speed dial cascades: groups lose it, a group left
// without members goes with the favourites pointing to it, and later favourite slots move down.
//
// Loaders (image decoder, CSV import) fill a separate book through the same operations and then move
// or swap it into place, so a failed load never leaves half a directory behind.
class CAddressBook
{
public:
    const std::vector<CFaxMailEntry>& FaxMailEntries() const { return m_faxMail; }
    const std::vector<CScanEntry>& ScanEntries() const { return m_scan; }
    const std::vector<CGroupEntry>& Groups() const { return m_groups; }
    const std::vector<CFavourite>& Favourites() const { return m_favourites; }
    bool Empty() const;

    void Clear();
    // A download replaces the lists in two halves: fax/e-mail entries, groups and favourites
    // with the first answer, scan-to-server entries with the second.
    void ClearFaxMailGroupsAndFavourites();
    void ClearScanEntries();
    void Swap(CAddressBook& other) noexcept;

    const CFaxMailEntry* FindFaxMailEntry(std::int32_t number) const;
    const CScanEntry* FindScanEntry(std::int32_t number) const;
    const CGroupEntry* FindGroup(std::int32_t number) const;
    const CFavourite* FindFavourite(std::int32_t number) const;

    // The lowest unused number of the list's range, or the reason no new record can be made.
    CNumberResult FirstFreeNumber(AddressList list) const;

    // Replaces the entry with the same number; groups holding the number take the entry's kind.
    MessageCode PutFaxMailEntry(const CFaxMailEntry& entry);
    MessageCode PutScanEntry(const CScanEntry& entry);
    // The same without copying the entry's texts (loaders).
    MessageCode PutScanEntry(CScanEntry&& entry);
    // Replaces the group with the same number as it stands; members are put in ascending order.
    MessageCode PutGroup(CGroupEntry group);
    // A group that does not exist yet is created without members, dated setDate.
    MessageCode
    SetGroupName(std::int32_t groupNumber, std::string_view panelName, std::uint16_t setDate = PackDeviceDate());
    // Slots may have gaps after a load; the favourite goes to its place in slot order.
    MessageCode AddFavourite(std::int32_t slot, std::int32_t targetKind, std::int32_t targetNumber);
    // Adds the speed dial to the group (creating it with this kind when absent) or takes it out,
    // deleting a group left without members. A full group refuses a new member.
    MessageCode SetGroupMembership(std::int32_t groupNumber,
                                   std::int32_t speedNumber,
                                   bool member,
                                   std::int32_t kind,
                                   std::uint16_t setDate = PackDeviceDate());
    // Takes the member out; a group that ends up without members, or had none, is deleted with the
    // favourites that point to it.
    MessageCode RemoveMemberFromGroup(std::int32_t groupNumber, std::int32_t speedNumber);

    // Each returns false, changing nothing, when no record has the number.
    bool DeleteFaxMailEntry(std::int32_t number);
    bool DeleteScanEntry(std::int32_t number);
    bool DeleteFavourite(std::int32_t number);

    // The checks made before a speed dial of this kind joins the group, kind first, then size.
    MessageCode CheckGroupAdmission(std::int32_t groupNumber, std::int32_t kind) const;
    MessageCode CheckGroupKind(std::int32_t groupNumber, std::int32_t kind) const;
    MessageCode CheckGroupSize(std::int32_t groupNumber) const;

    bool operator==(const CAddressBook&) const = default;

private:
    template <typename Record>
    bool DeleteSpeedDial(std::vector<Record>& list, std::int32_t number);
    bool RemoveMemberAt(std::size_t groupPosition, std::int32_t speedNumber);
    void DeleteGroupAt(std::size_t groupPosition);
    void EraseFavouriteAt(std::size_t position);
    void TakeOverGroupKind(std::int32_t speedNumber, std::int32_t kind);

    std::vector<CFaxMailEntry> m_faxMail;
    std::vector<CScanEntry> m_scan;
    std::vector<CGroupEntry> m_groups;
    std::vector<CFavourite> m_favourites;
};

} // namespace qzb
