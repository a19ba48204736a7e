#pragma once

#include "addressbook/address_book.h"
#include "base/operation_block.h"
#include "model/device_info_tables.h"
#include "model/item_table.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace qzb {

inline constexpr std::size_t kOptionsBlockSize = 65;
using COptionsBlock = std::array<std::uint8_t, kOptionsBlockSize>;

// What the main window holds of the device besides the value store: the directory, the blocks and
// flags the last decode kept, the device information and counters, and what the device reported
// of its trays and duplex unit at the last country check.
struct CDeviceData
{
    CAddressBook book;

    COperationBlock operationBlock = kInitialOperationBlock;
    std::int32_t dialModeCode = kInitialDialModeCode;
    std::optional<COptionsBlock> optionsBlock; // installed options, as the loaded data has them
    bool tray2Installed = false;
    bool tray3Installed = false;
    bool duplexInstalled = false;
    bool deviceFlag = false; // parameter 0x20014, written back as it came

    // Reported by the device when a service-man upload starts; 0 until then.
    bool deviceHasTray2 = false;
    bool deviceHasTray3 = false;
    bool deviceHasDuplex = false;

    std::array<std::u16string, kDeviceInfoRows> deviceInfo;
    std::array<std::uint32_t, kCounterSlots> counters{};

    // Data length of the last decoded entry per item table row; the encoder writes numbers back
    // in the width they came in.
    std::array<std::uint32_t, kItemTableRows> receivedLength{};
};

} // namespace qzb
