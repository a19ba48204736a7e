#pragma once

#include <cstddef>
#include <cstdint>

namespace qzb {

// Parameter ids and entry sizes of the machine image sections.
inline constexpr std::uint32_t kFirstSettingId = 0x10000;
inline constexpr std::uint32_t kLastSettingId = 0x11FFF;
inline constexpr std::uint32_t kMacAddressId = 0x1024E;
inline constexpr std::uint32_t kFirstGroupId = 0x12000;
inline constexpr std::uint32_t kLastGroupId = 0x1204F;
inline constexpr std::uint32_t kFirstFaxMailId = 0x12050;
inline constexpr std::uint32_t kLastFaxMailId = 0x1212B;
inline constexpr std::uint32_t kFirstScanId = 0x1212C;
inline constexpr std::uint32_t kLastScanId = 0x12149;
inline constexpr std::uint32_t kFirstFavouriteId = 0x13000;
inline constexpr std::uint32_t kLastFavouriteId = 0x1FFFF;
inline constexpr std::uint32_t kDeviceFlagId = 0x20014;
inline constexpr std::uint32_t kFirstCounterId = 0x20500;
inline constexpr std::uint32_t kLastCounterId = 0x206FF;
inline constexpr std::uint32_t kFirstDeviceInfoId = 0x20700;
inline constexpr std::uint32_t kLastDeviceInfoId = 0x209FF;
inline constexpr std::uint32_t kOperationBlockId = 0x21000;
inline constexpr std::uint32_t kUploadEndId = 0x21001;
inline constexpr std::uint32_t kOptionsBlockId = 0x21002;

inline constexpr std::uint32_t kMemoryInfoId = 0x20907;
inline constexpr std::uint32_t kPaperSourceInfoId = 0x20909;
inline constexpr std::uint32_t kWasteTonerInfoId = 0x20710;

inline constexpr std::size_t kFaxMailEntrySize = 120;
inline constexpr std::size_t kGroupEntrySize = 152;
inline constexpr std::size_t kScanEntrySize = 946;
inline constexpr std::size_t kFavouriteEntrySize = 2;
inline constexpr std::size_t kDateTimeSize = 7;
inline constexpr std::size_t kMemoryReceptionSize = 12;
inline constexpr std::size_t kForwardingSize = 72;
inline constexpr std::size_t kSnmpCommunitySize = 15;

// Fax/e-mail speed dial entry.
namespace faxmail {
inline constexpr std::size_t kNumber = 0, kFlags = 2, kAddressLength = 3, kNameLength = 4, kName = 5, kSetDate = 26,
                             kSpeed = 28, kPaper = 29, kMailOne = 30, kCoding = 31, kDigits = 31, kMailAddress = 32,
                             kBatchTime = 118;
inline constexpr std::uint8_t kFlagMail = 0x01, kFlagBatch = 0x10;
inline constexpr std::size_t kMaxSymbols = 64;
} // namespace faxmail

// Group dial entry.
namespace group {
inline constexpr std::size_t kNumber = 0, kPresent = 2, kMemberCount = 3, kNameLength = 5, kName = 6, kSetDate = 26,
                             kMembers = 30;
} // namespace group

// Scan-to-server entry: length byte then a fixed field for each text.
namespace scan {
inline constexpr std::size_t kNumber = 0, kPresent = 2, kProtocol = 3, kNameLength = 4, kName = 5, kServerLength = 25,
                             kServer = 26, kDirectoryLength = 90, kDirectory = 91, kUseProxy = 219, kPort = 220,
                             kFileSize = 222, kColourMode = 223, kResolution = 224, kScanMode = 225, kFileFormat = 226,
                             kCodingMethod = 227, kScanArea = 228, kAccount = 229, kUserNameLength = 230,
                             kUserName = 231, kPasswordLength = 251, kPassword = 252, kPasswordCopyLength = 272,
                             kPasswordCopy = 273, kNotify = 293, kNotifyLengths = 294, kNotifyAddresses = 304,
                             kSetDate = 944;
inline constexpr std::size_t kNameSize = 20, kServerSize = 64, kDirectorySize = 128, kUserNameSize = 20,
                             kPasswordSize = 20, kNotifyAddressSize = 64;
} // namespace scan

} // namespace qzb
