#include "print/selected_numbers.h"

#include <algorithm>
#include <optional>

namespace qzb {

namespace {

// Larger than any limit, small enough that a long run of digits never overflows.
constexpr std::int64_t kSaturated = 1'000'000'000;

std::u16string_view Trimmed(std::u16string_view text)
{
    while (!text.empty() && text.front() == u' ') {
        text.remove_prefix(1);
    }
    while (!text.empty() && text.back() == u' ') {
        text.remove_suffix(1);
    }
    return text;
}

std::optional<std::int64_t> Decimal(std::u16string_view text)
{
    text = Trimmed(text);
    if (text.empty()) {
        return std::nullopt;
    }
    std::int64_t value = 0;
    for (const char16_t c : text) {
        if (c < u'0' || c > u'9') {
            return std::nullopt;
        }
        value = std::min(value * 10 + (c - u'0'), kSaturated);
    }
    return value;
}

} // namespace

std::vector<std::int32_t> AllNumbers(std::int32_t limit)
{
    std::vector<std::int32_t> numbers;
    for (std::int32_t n = 1; n <= limit; ++n) {
        numbers.push_back(n);
    }
    return numbers;
}

std::vector<std::int32_t> SelectedNumbers(std::u16string_view text, std::int32_t limit)
{
    if (limit < 1) {
        return {};
    }
    // One flag per number: a range costs its clamped length, never the length it was written with.
    std::vector<bool> chosen(static_cast<std::size_t>(limit) + 1, false);
    while (true) {
        const std::size_t comma = text.find(u',');
        const std::u16string_view piece = text.substr(0, comma);
        const std::size_t dash = piece.find(u'-');
        std::optional<std::int64_t> first = Decimal(piece.substr(0, dash));
        std::optional<std::int64_t> last = dash == std::u16string_view::npos ? first : Decimal(piece.substr(dash + 1));
        if (first && last) {
            if (*first > *last) {
                std::swap(first, last);
            }
            const std::int64_t from = std::max<std::int64_t>(*first, 1);
            const std::int64_t to = std::min<std::int64_t>(*last, limit);
            for (std::int64_t n = from; n <= to; ++n) {
                chosen[static_cast<std::size_t>(n)] = true;
            }
        }
        if (comma == std::u16string_view::npos) {
            break;
        }
        text.remove_prefix(comma + 1);
    }
    std::vector<std::int32_t> numbers;
    for (std::int32_t n = 1; n <= limit; ++n) {
        if (chosen[static_cast<std::size_t>(n)]) {
            numbers.push_back(n);
        }
    }
    return numbers.empty() ? AllNumbers(limit) : numbers;
}

bool IsNumberListText(std::u16string_view text)
{
    auto isNumber = [](std::u16string_view piece) {
        return !piece.empty() && piece.size() <= 9 &&
               std::all_of(piece.begin(), piece.end(), [](char16_t c) { return c >= u'0' && c <= u'9'; });
    };
    for (std::size_t at = 0; at <= text.size();) {
        const std::size_t comma = std::min(text.find(u',', at), text.size());
        const std::u16string_view piece = text.substr(at, comma - at);
        const std::size_t dash = piece.find(u'-');
        const bool ok = dash == std::u16string_view::npos
                            ? isNumber(piece)
                            : isNumber(piece.substr(0, dash)) && isNumber(piece.substr(dash + 1));
        if (!ok) {
            return false;
        }
        at = comma + 1;
    }
    return true;
}

} // namespace qzb
