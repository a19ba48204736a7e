#pragma once

#include "addressbook/mail_address.h"
#include "base/message_codes.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qzb {

class CValueStore;

// The decimal value of a field the way the range check reads it: optional sign, then the leading
// digits; empty or non-numeric text is 0. A value beyond the 32-bit range saturates, so an
// over-long number can never wrap back into a range.
std::int64_t LeadingDecimal(std::u16string_view text);

bool IsInRange(std::u16string_view text, std::int32_t minimum, std::int32_t maximum);

// The refusal of a number outside minimum ... maximum that names the range: missing when the
// field is empty, else out of range with the value as typed.
struct CRangeRefusal
{
    MessageCode code;
    std::vector<std::u16string> inserts;
};
CRangeRefusal RangeRefusal(std::u16string_view text, std::int32_t minimum, std::int32_t maximum);

} // namespace qzb
