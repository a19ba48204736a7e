#pragma once

#include "base/message_codes.h"
#include "base/text_lookup.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace qzb {

class CValueStore;
struct CDeviceData;

// Spreads a machine image over the value store and the device data. Directory entries are added
// to the book as they come (the caller empties the lists it replaces); out-of-range and repeated
// numbers are skipped so the book's rules hold after any image. An image whose entries do not
// exactly fill it is refused with kMsgMalformedImage before anything changes.
// Text keys the decoder looks up for the values of device information rows.
inline constexpr std::string_view kMemoryUnitKey = "STR_MIC_TXT_MB";
inline constexpr std::string_view kPaperSourceKeys[] = {
    "STR_MITC_TXT_TRAY_1", "STR_MITC_TXT_TRAY_2", "STR_MITC_TXT_TRAY_3"};
inline constexpr std::string_view kWasteTonerNearFullKey = "STR_MIC_TXT_WASTE_TONER_BOTTLE_NEAR_FULL";
inline constexpr std::string_view kWasteTonerReadyKey = "STR_MIC_TXT_WASTE_TONER_BOTTLE_READY";

MessageCode DecodeMachineImage(CDeviceData& device,
                               CValueStore& store,
                               std::span<const std::uint8_t> image,
                               const TextLookup& text = {});

} // namespace qzb
