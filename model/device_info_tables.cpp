#include "model/device_info_tables.h"

#include <iterator>

namespace qzb {

namespace {

// 0x2050E stands twice: only its first slot receives the counter.
constexpr std::uint32_t kCounterSlotIds[] = {
    0,       0,       0x20500, 0x20501, 0x20502, 0x20503, 0x20504, 0x20505, 0x20506, 0x20507, 0x20508, 0x20509,
    0x2050A, 0,       0x2052B, 0x2052C, 0x2052A, 0,       0x2050B, 0x2050C, 0,       0x2050D, 0x2050E, 0x2050F,
    0x2050E, 0,       0x20510, 0x20511, 0x20512, 0,       0x20513, 0x20514, 0x20515, 0x20516, 0x20517, 0x20518,
    0,       0x20519, 0x20523, 0x2051A, 0x2051B, 0x2051C, 0x2051D, 0x2051E, 0x2051F, 0x20520, 0x20521, 0x20522,
    0,       0x20600, 0x20601, 0,       0x20602, 0x20603, 0x20605, 0x20606, 0x20604, 0x20607, 0x2060A, 0x20608,
};
static_assert(std::size(kCounterSlotIds) == kCounterSlots);

constexpr CDeviceInfoRow kInfoRows[] = {
    {"SUMMARY", 0},
    {"DEVICE_NAME", 0},
    {"DEVICE_PLACE", 0},
    {"ENGINE_SERIAL_NUMBER", 0x20908},
    {"MEMORY", 0x20907},
    {"SUMMARY_INPUT_TRAY", 0x20909},
    {"NETWORK", 0},
    {"ROM_VERSION", 0},
    {"MAIN_FW_ROM_VERSION", 0x20905},
    {"ENGINE_FW_ROM_VERSION", 0x20906},
    {"INTERFACE_INFORMATION", 0},
    {"IP_ADDRESS", 0},
    {"SUBNET_MASK", 0},
    {"GATEWAY_ADDRESS", 0},
    {"MAC_ADDRESS", 0x1024E},
    {"HOST_NAME", 0},
    {"INPUT_TRAY", 0},
    {"TRAY", 0},
    {"PAPER_SIZE", 0},
    {"PAPER_TYPE", 0},
    {"TRAY_1", 0},
    {"TRAY_2", 0},
    {"TRAY_3", 0},
    {"CONSUMABLE", 0},
    {"CYAN_TONER_CARTRIDGE", 0x20700},
    {"MAGENTA_TONER_CARTRIDGE", 0x20701},
    {"YELLOW_TONER_CARTRIDGE", 0x20702},
    {"BLACK_TONER_CARTRIDGE", 0x20703},
    {"IMAGING_CARTRIDGE", 0x20712},
    {"CYAN_IMAGING_UNIT", 0x20704},
    {"MAGENTA_IMAGING_UNIT", 0x20705},
    {"YELLOW_IMAGING_UNIT", 0x20706},
    {"BLACK_IMAGING_UNIT", 0x20707},
    {"TRANSFER_BELT", 0x20709},
    {"TRANSFER_ROLLER", 0x2070B},
    {"FUSER_UNIT", 0x2070A},
    {"WASTE_TONER_BOTTLE", 0x20710},
};
static_assert(std::size(kInfoRows) == kDeviceInfoRows);

} // namespace

std::span<const std::uint32_t> CounterSlotIds()
{
    return kCounterSlotIds;
}

std::span<const CDeviceInfoRow> DeviceInfoRows()
{
    return kInfoRows;
}

} // namespace qzb
