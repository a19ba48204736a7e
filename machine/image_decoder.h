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
MessageCode DecodeMachineImage(CDeviceData& device,
                               CValueStore& store,
                               std::span<const std::uint8_t> image,
                               const TextLookup& text = {});

} // namespace qzb
