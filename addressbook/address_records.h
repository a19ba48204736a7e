#pragma once

#include "model/panel_code.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace qzb {

// Speed-dial numbers 1-250 are shared by the fax/e-mail and the scan-to-server entries.
inline constexpr std::int32_t kFirstFaxMailNumber = 1;
inline constexpr std::int32_t kLastFaxMailNumber = 220;
inline constexpr std::int32_t kFirstScanNumber = 221;
inline constexpr std::int32_t kLastScanNumber = 250;
inline constexpr std::int32_t kFirstGroupNumber = 1;
inline constexpr std::int32_t kLastGroupNumber = 20;
inline constexpr std::int32_t kFirstFavouriteNumber = 1;
inline constexpr std::int32_t kLastFavouriteNumber = 20;

inline constexpr std::size_t kMaxFaxMailEntries = 220;
inline constexpr std::size_t kMaxScanEntries = 30;
inline constexpr std::size_t kMaxGroups = 20;
inline constexpr std::size_t kMaxGroupMembers = 50;
inline constexpr std::size_t kMaxFavourites = 20;

// Name fields hold 20 panel bytes and address fields 64, each with its terminating zero.
inline constexpr std::size_t kNameFieldSize = 21;
inline constexpr std::size_t kAddressFieldSize = 65;
inline constexpr std::size_t kNotificationAddressCount = 10;

using CNameField = CPanelField<kNameFieldSize>;
using CAddressField = CPanelField<kAddressFieldSize>;

// Kinds and targets keep the device's numbers, so that records read from an image or a file hold
// exactly what came in.
inline constexpr std::int32_t kKindFax = 0;
inline constexpr std::int32_t kKindMail = 1;
inline constexpr std::int32_t kTargetGroup = 0;
inline constexpr std::int32_t kTargetSpeedDial = 1;

inline constexpr std::int32_t kFaxSpeedNotSet = 0;
inline constexpr std::int32_t kFaxSpeed9600 = 1;
inline constexpr std::int32_t kFaxSpeed14400 = 2;
inline constexpr std::int32_t kFaxSpeed33600 = 3;

inline constexpr std::int32_t kProtocolFtp = 0;
inline constexpr std::int32_t kProtocolSmb = 1;
inline constexpr std::int32_t kAccountAnonymous = 0;
inline constexpr std::int32_t kAccountPrivateSite = 1;
inline constexpr std::int32_t kDefaultFtpPort = 21;

// A fax number or an e-mail address under a speed-dial number. The defaults are those of a fax entry
// saved without details.
struct CFaxMailEntry
{
    std::int32_t number = 0;
    std::int32_t kind = kKindFax;
    std::int32_t faxSpeed = kFaxSpeed33600; // 0 for e-mail
    std::int32_t batchHour = -1; // 0-23, or -1 without batch transmission (always for e-mail)
    std::int32_t batchMinute = -1; // 0-59, or -1 together with the hour
    std::uint16_t setDate = 0; // packed as by PackDeviceDate
    CNameField name;
    CAddressField address; // dial digits, "*", "#", "P", space, "-", or the e-mail address

    bool operator==(const CFaxMailEntry&) const = default;
};

// An FTP or SMB destination under a speed-dial number.
struct CScanEntry
{
    std::int32_t number = 0;
    std::int32_t protocol = kProtocolFtp;
    std::int32_t useProxy = 0; // FTP only
    std::int32_t port = kDefaultFtpPort;
    std::int32_t fileSize = 0; // limit 1-10, from the scanner settings for a new entry
    std::int32_t colourMode = 0; // 0 black and white, 1 gray
    std::int32_t resolution = 0; // 0 = 150, 1 = 300, 2 = 600
    std::int32_t scanMode = 0; // 0 text, 1 photo, 2 mixed
    std::int32_t fileFormat = 0; // 0 TIFF, 1 PDF, 2 JPEG
    std::int32_t codingMethod = 0; // 0 MH, 1 MR, 2 MMR
    std::int32_t scanArea = 0; // 0 A5, 1 A4, 2 B5, 3 statement, 4 letter, 5 legal
    std::int32_t mailNotification = 0;
    std::int32_t account = kAccountAnonymous;
    std::u16string serverAddress;
    std::u16string directory;
    std::u16string userId;
    std::u16string passwordCopy; // the editor keeps the password here too
    std::array<std::u16string, kNotificationAddressCount> notificationAddresses;
    std::u16string userName;
    std::u16string password;
    std::uint16_t setDate = 0;
    CNameField name;

    bool operator==(const CScanEntry&) const = default;
};

// A group dial. All its members share the group's kind; an empty name is shown as the default group
// label of its number.
struct CGroupEntry
{
    std::int32_t number = 0;
    std::int32_t kind = kKindFax;
    std::vector<std::int32_t> members; // speed-dial numbers, ascending, unique, at most kMaxGroupMembers
    std::uint16_t setDate = 0;
    CNameField name;

    bool operator==(const CGroupEntry&) const = default;
};

// One of the device's quick-access keys.
struct CFavourite
{
    std::int32_t number = 0;
    std::int32_t targetKind = kTargetSpeedDial;
    std::int32_t targetNumber = 0; // may name a speed dial or group that no longer exists

    bool operator==(const CFavourite&) const = default;
};

} // namespace qzb
