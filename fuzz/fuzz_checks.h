#pragma once

// What every decode must leave behind, whatever bytes it was given.

#include "addressbook/address_book.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>

namespace qzb {

inline void Require(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

template <typename Record>
bool SortedInRange(const std::vector<Record>& list, std::int32_t first, std::int32_t last)
{
    return std::all_of(
               list.begin(), list.end(), [&](const Record& r) { return r.number >= first && r.number <= last; }) &&
           std::adjacent_find(list.begin(), list.end(), [](const Record& a, const Record& b) {
               return a.number >= b.number;
           }) == list.end();
}

// The rules of the directory: numbers in range, unique and ascending; members ascending, unique and
// at most fifty.
inline void RequireBookRules(const CAddressBook& book)
{
    Require(SortedInRange(book.FaxMailEntries(), kFirstFaxMailNumber, kLastFaxMailNumber), "fax/e-mail list");
    Require(SortedInRange(book.ScanEntries(), kFirstScanNumber, kLastScanNumber), "scan list");
    Require(SortedInRange(book.Groups(), kFirstGroupNumber, kLastGroupNumber), "group list");
    Require(SortedInRange(book.Favourites(), kFirstFavouriteNumber, kLastFavouriteNumber), "favourites");
    for (const CGroupEntry& group : book.Groups()) {
        const auto& m = group.members;
        Require(m.size() <= kMaxGroupMembers, "group size");
        Require(std::adjacent_find(m.begin(), m.end(), std::greater_equal<>()) == m.end(), "group members order");
        Require(std::all_of(m.begin(), m.end(), [](std::int32_t n) { return n >= 1 && n <= kLastScanNumber; }),
                "group member range");
    }
}

} // namespace qzb
