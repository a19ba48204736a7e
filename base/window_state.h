#pragma once

#include <cstdint>

namespace qzb {

// The main window's state word: whether a device session is open, where the data came from, and
// the service-man mode (an upload then carries the settings after the country check).
inline constexpr std::uint32_t kStateOnline = 0x10;
inline constexpr std::uint32_t kStateCsvData = 0x20;
inline constexpr std::uint32_t kStateDeviceData = 0x40;
inline constexpr std::uint32_t kStateFileData = 0x80;
inline constexpr std::uint32_t kStateServiceMan = 0x100;
inline constexpr std::uint32_t kStateDataPresent = 0xE0;

} // namespace qzb
