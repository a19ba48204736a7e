#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace qzb {

class CValueStore;
struct CDeviceData;

// Why a value set on a store key would not be kept by a settings file or an upload.
enum class SettingRefusal : std::uint8_t {
    None,
    NotInImage, // the key never travels in the machine image
    WrongKind, // the key travels, but as a text (for a number) or as a number (for a text)
    NotInstalled, // the key's row is left out while the tray or duplex unit it needs is missing
    OutOfRange, // the number does not fit its field: minimum to maximum
    NotRepresentable, // the text holds characters the code page (panel code for USER_NAME) has not
    TooLong, // the text takes more bytes than its field carries: bytes, maxBytes
    NotKept, // the value would not come back as set, given the values it travels with
};

struct CSettingCheck
{
    SettingRefusal refusal = SettingRefusal::None;
    std::int64_t minimum = 0;
    std::int64_t maximum = 0;
    std::size_t bytes = 0;
    std::size_t maxBytes = 0;
};

// Whether a number (or a text) set on the key would come back exactly from a file-mode image of
// the device data and store. Nothing is changed.
CSettingCheck CheckSettingNumber(const CDeviceData& device,
                                 const CValueStore& store,
                                 std::string_view page,
                                 std::string_view key,
                                 std::int32_t number);
CSettingCheck CheckSettingText(const CDeviceData& device,
                               const CValueStore& store,
                               std::string_view page,
                               std::string_view key,
                               std::u16string_view text);

// Whether a number (or a text) set on the key travels in the machine image at all: in a row of its
// own of that kind, an address row's part or a composite field, whatever the device has installed.
// A key that never does is set only on the device's own panel or web page, and neither an upload
// nor a settings file carries it.
bool SettingTravels(std::string_view page, std::string_view key, bool text);

// The bytes a text is stored in: panel code for USER_NAME, the process code page for the others.
std::string SettingTextBytes(std::string_view key, std::u16string_view text);

} // namespace qzb
