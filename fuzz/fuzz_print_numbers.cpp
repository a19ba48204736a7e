// Arbitrary text as the numbers to print (qzbctl print --numbers, the print dialog's field): the
// selection is ascending, unique and within the list; a text the field takes as a list selects
// exactly the numbers it names, or every number when it names none of the list's.
#include "fuzz_checks.h"
#include "model/text_codec.h"
#include "print/selected_numbers.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace {

using namespace qzb;

// The numbers a text the field takes as a list names, within 1 ... limit: each piece on its own.
std::vector<std::int32_t> Named(std::u16string_view text, std::int32_t limit)
{
    std::set<std::int32_t> numbers;
    std::size_t at = 0;
    while (at <= text.size()) {
        const std::size_t comma = std::min(text.find(u',', at), text.size());
        const std::u16string_view piece = text.substr(at, comma - at);
        const std::size_t dash = piece.find(u'-');
        const auto value = [](std::u16string_view digits) {
            return std::stoll(std::string(digits.begin(), digits.end()));
        };
        long long first = value(piece.substr(0, dash));
        long long last = dash == std::u16string_view::npos ? first : value(piece.substr(dash + 1));
        if (first > last) {
            std::swap(first, last);
        }
        for (long long n = std::max(first, 1LL); n <= std::min<long long>(last, limit); ++n) {
            numbers.insert(static_cast<std::int32_t>(n));
        }
        at = comma + 1;
    }
    return numbers.empty() ? AllNumbers(limit) : std::vector<std::int32_t>(numbers.begin(), numbers.end());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    constexpr std::int32_t kLimits[] = {kSpeedDialPrintLimit, kGroupDialPrintLimit, kFavouritePrintLimit, 1, 0};
    FuzzedDataProvider input(data, size);
    const std::int32_t limit = input.PickValueInArray(kLimits);
    const std::u16string text = input.ConsumeBool() ? Utf8ToUtf16(input.ConsumeRemainingBytesAsString()) : [&] {
        std::u16string units;
        while (input.remaining_bytes() >= 2) {
            units.push_back(input.ConsumeIntegral<char16_t>());
        }
        return units;
    }();
    const std::vector<std::int32_t> numbers = SelectedNumbers(text, limit);
    Require(std::adjacent_find(numbers.begin(), numbers.end(), std::greater_equal<>()) == numbers.end(),
            "the selection is not ascending and unique");
    Require(std::all_of(numbers.begin(), numbers.end(), [&](std::int32_t n) { return n >= 1 && n <= limit; }),
            "a number outside the list");
    Require(limit < 1 || !numbers.empty(), "nothing selected");
    if (IsNumberListText(text)) {
        Require(numbers == Named(text, limit), "a list selects other numbers than it names");
    }
    return 0;
}
