#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace qzb {

class CValueStore;
struct CDeviceData;

enum class EncodeMode : std::uint8_t {
    File, // everything a DAT file keeps
    Upload, // what an upload sends: the directory, and the settings only in service-man mode
};

struct CEncodeOptions
{
    EncodeMode mode = EncodeMode::File;
    bool serviceMan = false; // upload mode: carry the settings and the device flag too
    // Set date of entries registered without one; today's local date when not given.
    std::optional<std::uint16_t> today;
};

// Builds the machine image of the address book, the value store and the kept device blocks.
// Records the data length of every settings row it writes in the device data.
std::vector<std::uint8_t>
EncodeMachineImage(CDeviceData& device, const CValueStore& store, const CEncodeOptions& options);

// Bytes a number row of the item table travels in: the width it last came in, else its usual
// width (6 for the administrator number, 2 or 1 for the others).
std::uint32_t SettingNumberWidth(const CDeviceData& device, std::size_t rowIndex);

// Parameter ids the settings section leaves out for want of a tray or duplex unit on both the
// device and in the loaded data.
std::vector<std::uint32_t> ExcludedSettingIds(const CDeviceData& device, const CValueStore& store);

} // namespace qzb
