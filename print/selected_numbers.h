#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace qzb {

// The largest number each printed list accepts.
inline constexpr std::int32_t kSpeedDialPrintLimit = 250;
inline constexpr std::int32_t kGroupDialPrintLimit = 20;
inline constexpr std::int32_t kFavouritePrintLimit = 20;

// 1 ... limit.
std::vector<std::int32_t> AllNumbers(std::int32_t limit);

// The numbers a selected-numbers text names, ascending and each once: comma-separated pieces, each
// a number or a range "first-last" (a reversed range counts as written the other way round).
// Numbers outside 1 ... limit are dropped, and a range keeps only its part inside; a piece that is
// neither is dropped. A text that leaves no number selects every number.
std::vector<std::int32_t> SelectedNumbers(std::u16string_view text, std::int32_t limit);

// Whether a text is a list of numbers and ranges as the print dialog's field takes it: pieces
// separated by single commas, each a number or "first-last". Numbers out of range are allowed
// (SelectedNumbers drops them); "abc", "-5", "5-", "1;2" and "1-3-5" are not lists.
bool IsNumberListText(std::u16string_view text);

} // namespace qzb
