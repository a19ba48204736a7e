#pragma once

#include "base/operation_block.h"
#include "pages/page_def.h"

#include <cstdint>

namespace qzb {

// The telephone line settings and automatic redial.
const CPageDef& CommunicationSettingsPage();
const CPageDef& AutoRedialPage();

// What the device allows for automatic redial: at most maxCount attempts, at least minInterval
// minutes apart.
struct CRedialLimits
{
    std::int32_t maxCount;
    std::int32_t minInterval;
};

// The limits of the fax country, overridden by those byte 30 of the switch block holds; a field of
// the block that holds no valid limit gets the country's.
CRedialLimits RedialLimits(std::int32_t faxCountry, COperationBlock& block);

} // namespace qzb
