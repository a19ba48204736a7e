#pragma once

#include "model/value_store.h"

#include <array>
#include <span>

namespace qzb {

// The store records of each item table row, found once: the row's own record, and for an
// address row the records of its four parts ("_1" to "_4").
struct CItemRecords
{
    CRecordRef record;
    std::array<CRecordRef, 4> parts;
};

// One entry per item table row, in row order.
std::span<const CItemRecords> ItemRecords();

} // namespace qzb
