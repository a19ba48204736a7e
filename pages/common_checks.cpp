#include "pages/common_checks.h"

#include <limits>

namespace qzb {

std::int64_t LeadingDecimal(std::u16string_view text)
{
    std::size_t at = 0;
    while (at < text.size() && (text[at] == u' ' || text[at] == u'\t')) {
        ++at;
    }
    bool negative = false;
    if (at < text.size() && (text[at] == u'-' || text[at] == u'+')) {
        negative = text[at] == u'-';
        ++at;
    }
    // Past this the value is out of every 32-bit range; stop growing it.
    constexpr std::int64_t kCap = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 2;
    std::int64_t value = 0;
    for (; at < text.size() && text[at] >= u'0' && text[at] <= u'9'; ++at) {
        value = value * 10 + (text[at] - u'0');
        if (value > kCap) {
            value = kCap;
        }
    }
    return negative ? -value : value;
}

bool IsInRange(std::u16string_view text, std::int32_t minimum, std::int32_t maximum)
{
    const std::int64_t value = LeadingDecimal(text);
    return value >= minimum && value <= maximum;
}

CRangeRefusal RangeRefusal(std::u16string_view text, std::int32_t minimum, std::int32_t maximum)
{
    auto decimal = [](std::int32_t number) {
        const std::string digits = std::to_string(number);
        return std::u16string(digits.begin(), digits.end());
    };
    if (text.empty()) {
        return {kMsgValueMissing, {decimal(minimum), decimal(maximum)}};
    }
    return {kMsgValueOutOfRange, {decimal(minimum), decimal(maximum), std::u16string(text)}};
}

} // namespace qzb
