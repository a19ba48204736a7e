#pragma once

#include <cstddef>
#include <cstdint>

namespace qzb {

// What the utility says to the device over the bulk pipes: an 8-byte header {u32 command,
// u32 body length}, then the body. Answers come as {u32 unused, u32 length} and the body.
inline constexpr std::uint32_t kCommandControl = 0x0302;
inline constexpr std::uint32_t kCommandReadRequest = 0x0202;
inline constexpr std::uint32_t kCommandWriteImage = 0x0102;

inline constexpr std::uint32_t kControlStatus = 1;
inline constexpr std::uint32_t kControlSessionStart = 2;
inline constexpr std::uint32_t kControlSessionEnd = 3;

inline constexpr std::size_t kMessageHeaderSize = 8;

// Status answer bytes.
inline constexpr std::uint8_t kStatusReady = 0;
inline constexpr std::uint8_t kStatusOperating = 1;
inline constexpr std::uint8_t kStatusTimeOut = 2;
inline constexpr std::uint8_t kStatusProblem = 3;

// The vendor request that tells whether the device is idle: two zero bytes.
inline constexpr std::uint8_t kBusyRequest = 0x0C;
inline constexpr std::uint8_t kBusyRequestType = 0xC1;
inline constexpr std::size_t kBusyAnswerSize = 1024;

// The largest answer the utility accepts: a full image is about 70 KB.
inline constexpr std::size_t kMaxAnswerBytes = 4u << 20;

} // namespace qzb
