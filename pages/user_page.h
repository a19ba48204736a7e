#pragma once

#include "pages/page_def.h"

#include <cstdint>

namespace qzb {

// Date and time, time zone, fax country, the user's fax number and name.
const CPageDef& UserSettingsPage();

// A time zone as the two combos show it: the hour position 0-25 (GMT-12 ... GMT-00, GMT+00 ...
// GMT+12) and the minute position (0 for :00, 1 for :30).
struct CTimeZonePositions
{
    std::int32_t hour;
    std::int32_t minute;
    bool operator==(const CTimeZonePositions&) const = default;
};

// The stored value counts half hours: 0-24 east of GMT, 33-56 west (value - 32 half hours). A
// value of neither range loads as GMT+00.
CTimeZonePositions TimeZonePositions(std::int32_t stored);
std::int32_t StoredTimeZone(const CTimeZonePositions& positions);

} // namespace qzb
