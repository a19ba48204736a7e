#pragma once

#include "base/message_codes.h"

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qzb {

struct CAppContext;

// Every download is kept as a DAT file in the data folder's "backups" sub-folder, named
// "<short code>-YYYYMMDD-HHMMSS.DAT" in local time ("-2", "-3" ... added when the name is taken),
// so that a device's earlier state can be opened and uploaded again.
inline constexpr std::string_view kBackupFolderName = "backups";
inline constexpr std::size_t kKeptBackups = 20;

// The name of a backup written at a local time given as "YYYYMMDD-HHMMSS"; serial 1 has no suffix.
std::string BackupFileName(std::string_view shortCode, std::string_view stamp, unsigned serial = 1);

// Where a backup file of the short code stands among the others: its stamp and serial, or nothing
// when the name is not one this profile's backups are written under.
struct CBackupOrder
{
    std::string stamp;
    unsigned serial = 1;
    auto operator<=>(const CBackupOrder&) const = default;
};
std::optional<CBackupOrder> ParseBackupFileName(std::string_view name, std::string_view shortCode);

// One backup file of the profile, as the Restore Backup list shows it.
struct CBackupFile
{
    std::filesystem::path path;
    CBackupOrder order;
    std::string Date() const; // "2026-03-14"
    std::string Time() const; // "09:15:00"
};

// The profile's backups in dataFolder/backups, newest first; none when the folder is missing.
// Symbolic links and other files are not listed.
std::vector<CBackupFile> ListBackups(const std::filesystem::path& dataFolder, std::string_view shortCode);

// Writes the context as a DAT file into dataFolder/backups (created when missing), then removes the
// oldest of that profile's backups beyond keep; the file just written is never removed, even when
// the clock has gone back. Returns 0 or 0x80020031; the written path goes to written when given.
MessageCode WriteDownloadBackup(const std::filesystem::path& dataFolder,
                                const CAppContext& context,
                                std::chrono::system_clock::time_point when,
                                std::size_t keep = kKeptBackups,
                                std::filesystem::path* written = nullptr);

} // namespace qzb
