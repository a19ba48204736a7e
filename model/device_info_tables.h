#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace qzb {

inline constexpr std::size_t kCounterSlots = 60;
inline constexpr std::size_t kDeviceInfoRows = 37;

// Parameter ids of the total counter slots in display order; 0 for a slot the device does not fill.
std::span<const std::uint32_t> CounterSlotIds();

struct CDeviceInfoRow
{
    std::string_view label; // text key without its "STR_MIC_TXT_" prefix
    std::uint32_t parameterId; // 0 for a row the configuration page fills itself
};

std::span<const CDeviceInfoRow> DeviceInfoRows();

} // namespace qzb
