#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// What the export writes and the import reads alike: the marks of the format and its fixed keys.

namespace qzb {

// Encloses a text that holds a comma.
inline constexpr char16_t kCsvEnclosure = 0x0007;
// Each byte of a scan-to-server password is written raised by this much.
inline constexpr std::uint8_t kCsvPasswordShift = 48;

// A line key: the prefix and the number zero-padded to width ("SPD", 12, 3 makes "SPD012").
std::string CsvKey(std::string_view prefix, int number, int width);

// The 290 line keys in file order: OTD01-OTD20, SPD001-SPD250, DHD01-DHD20.
const std::vector<std::string>& CsvKeys();

} // namespace qzb
