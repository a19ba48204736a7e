#pragma once

#include "base/message_codes.h"

#include <cstdint>
#include <filesystem>

namespace qzb {

struct CModelProfile;

// The rules the window's Open, Save and Save As commands follow, without the dialogs around them.

// The name a settings file is saved under: kept when it ends in ".dat" in any case, else with
// ".DAT" appended.
std::filesystem::path DatPathWithExtension(const std::filesystem::path& path);

// Whether a settings file may be opened under the running model: 0 when its header is a valid one
// of the running model's family ("QZB|CORALAIO" for 8329; "QZB|OBSIDIANAIO" for 8313, 8314, 8315
// and 2152), 0x80020045 for the other family or a damaged header, 0x80020030 when the file cannot
// be read. Only the header is read.
MessageCode CheckDatFamily(const std::filesystem::path& path, std::int32_t runningModel);

// Where settings files and backups live by default: the profile's sub-folder of the local
// application-data folder.
std::filesystem::path DefaultDataFolder(const std::filesystem::path& localAppData, const CModelProfile& profile);

} // namespace qzb
