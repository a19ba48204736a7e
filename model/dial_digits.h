#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qzb {

// Fax numbers travel two symbols a byte, the first in the low nibble: 0-9 digits, 10 '*', 11 '#',
// 12 'P' (pause), 13 ' ', 15 '-'.
std::string UnpackDialDigits(std::span<const std::uint8_t> packed, std::size_t count);
// The same into a caller's buffer, cut at its size; returns the symbols written.
std::size_t UnpackDialDigits(std::span<const std::uint8_t> packed, std::size_t count, std::span<char> out);
// Characters without a symbol pack as 0; an odd count leaves the last high nibble 0.
std::vector<std::uint8_t> PackDialDigits(std::string_view digits);
// The same into a zero-filled field of an entry; symbols beyond the field are left out.
void PackDialDigits(std::string_view digits, std::span<std::uint8_t> field);
// True when every character has a dial symbol of its own.
bool IsDialString(std::string_view text);

} // namespace qzb
