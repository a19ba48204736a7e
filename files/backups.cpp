#include "files/backups.h"

#include "app/app_context.h"
#include "app/folders.h"
#include "base/atomic_file.h"
#include "files/dat_file.h"
#include "machine/image_encoder.h"
#include "model/panel_code.h"

#include <algorithm>
#include <ctime>
#include <system_error>
#include <utility>
#include <vector>

namespace qzb {

namespace {

constexpr std::string_view kBackupExtension = ".DAT";

bool AllDigits(std::string_view text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::vector<std::pair<CBackupOrder, std::filesystem::path>> ScanBackups(const std::filesystem::path& folder,
                                                                        std::string_view shortCode)
{
    namespace fs = std::filesystem;
    std::error_code error;
    std::vector<std::pair<CBackupOrder, fs::path>> found;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
        if (!entry.is_regular_file(error) || entry.is_symlink(error)) {
            continue;
        }
        if (std::optional<CBackupOrder> order = ParseBackupFileName(entry.path().filename().string(), shortCode)) {
            found.emplace_back(std::move(*order), entry.path());
        }
    }
    std::sort(found.begin(), found.end());
    return found;
}

} // namespace

std::string CBackupFile::Date() const
{
    const std::string& s = order.stamp;
    return s.substr(0, 4) + '-' + s.substr(4, 2) + '-' + s.substr(6, 2);
}

std::string CBackupFile::Time() const
{
    const std::string& s = order.stamp;
    return s.substr(9, 2) + ':' + s.substr(11, 2) + ':' + s.substr(13, 2);
}

std::vector<CBackupFile> ListBackups(const std::filesystem::path& dataFolder, std::string_view shortCode)
{
    std::vector<CBackupFile> list;
    const auto found = ScanBackups(dataFolder / kBackupFolderName, shortCode);
    for (auto it = found.rbegin(); it != found.rend(); ++it) {
        list.push_back({it->second, it->first});
    }
    return list;
}

std::string BackupFileName(std::string_view shortCode, std::string_view stamp, unsigned serial)
{
    std::string name(shortCode);
    name += '-';
    name += stamp;
    if (serial > 1) {
        name += '-' + std::to_string(serial);
    }
    name += kBackupExtension;
    return name;
}

std::optional<CBackupOrder> ParseBackupFileName(std::string_view name, std::string_view shortCode)
{
    if (shortCode.empty() || !name.starts_with(shortCode) || !name.ends_with(kBackupExtension)) {
        return std::nullopt;
    }
    name.remove_prefix(shortCode.size());
    name.remove_suffix(kBackupExtension.size());
    // "-YYYYMMDD-HHMMSS", then "-N" for the second and later backup of the same second.
    constexpr std::size_t kStampSize = 15;
    if (name.size() < 1 + kStampSize || name[0] != '-') {
        return std::nullopt;
    }
    const std::string_view stamp = name.substr(1, kStampSize);
    if (!AllDigits(stamp.substr(0, 8)) || stamp[8] != '-' || !AllDigits(stamp.substr(9))) {
        return std::nullopt;
    }
    CBackupOrder order{std::string(stamp), 1};
    const std::string_view rest = name.substr(1 + kStampSize);
    if (rest.empty()) {
        return order;
    }
    const std::string_view digits = rest.substr(1);
    if (rest[0] != '-' || !AllDigits(digits) || digits[0] == '0' || digits.size() > 9) {
        return std::nullopt;
    }
    order.serial = static_cast<unsigned>(std::stoul(std::string(digits)));
    if (order.serial < 2) {
        return std::nullopt;
    }
    return order;
}

MessageCode WriteDownloadBackup(const std::filesystem::path& dataFolder,
                                const CAppContext& context,
                                std::chrono::system_clock::time_point when,
                                std::size_t keep,
                                std::filesystem::path* written)
{
    namespace fs = std::filesystem;
    const fs::path folder = dataFolder / kBackupFolderName;
    if (!CreateFolderPath(folder)) {
        return kMsgWriteFileError;
    }
    const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
    std::tm local{};
    if (!::localtime_r(&seconds, &local)) {
        return kMsgWriteFileError;
    }
    char stamp[32] = {};
    std::strftime(stamp, sizeof(stamp), "%Y%m%d-%H%M%S", &local);

    const std::string_view shortCode = context.profile->shortCode;
    std::error_code error;
    const std::vector<std::pair<CBackupOrder, fs::path>> earlier = ScanBackups(folder, shortCode);
    // A second backup within the same second comes after every one already there, so that its
    // name sorts as the newest even when an earlier one of that second has been removed.
    unsigned serial = 1;
    for (const auto& backup : earlier) {
        if (backup.first.stamp == stamp) {
            serial = std::max(serial, backup.first.serial + 1);
        }
    }
    fs::path path = folder / BackupFileName(shortCode, stamp, serial);
    while (fs::exists(fs::symlink_status(path, error))) {
        path = folder / BackupFileName(shortCode, stamp, ++serial);
    }

    // The encoder notes the widths it writes in the device data; the window's copy stays as it is.
    CDeviceData device = context.device;
    CEncodeOptions options;
    options.mode = EncodeMode::File;
    options.today = PackDeviceDate(std::chrono::year_month_day(std::chrono::year(local.tm_year + 1900),
                                                               std::chrono::month(local.tm_mon + 1),
                                                               std::chrono::day(local.tm_mday)));
    const std::vector<std::uint8_t> file =
        DatFileOf(context.modelCode, EncodeMachineImage(device, context.store, options));
    // The settings hold the device's passwords, and nobody asked for these copies: owner only.
    if (!WriteFileAtomically(path, file, FileRights::OwnerOnly)) {
        return kMsgWriteFileError;
    }
    if (written) {
        *written = path;
    }

    // The file just written is not among the earlier ones, so a clock set back never removes it.
    const std::size_t earlierKept = keep > 0 ? keep - 1 : 0;
    for (std::size_t i = 0; i + earlierKept < earlier.size(); ++i) {
        // A failed removal leaves one backup too many, which the next download removes again.
        fs::remove(earlier[i].second, error);
    }
    return kOk;
}

} // namespace qzb
