#pragma once

#include "app/preferences.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace qzb {

// The launcher's own preferences, shared by every model: which model the window last ran as.
// "Software\QZB\qzb" is the INI file <config>/QZB/qzb.ini.
inline constexpr std::string_view kLauncherKeyPath = "Software\\QZB\\qzb";
inline constexpr std::string_view kPrefLastModel = "LastModel";

// The last model a window ran as; nothing when none was kept or the value is no known model.
std::optional<std::int32_t> ReadLastModel(const IPreferences& preferences);
bool WriteLastModel(IPreferences& preferences, std::int32_t modelCode);

// The same read from the launcher's INI file without Qt, for qzbctl: the file under
// $XDG_CONFIG_HOME (or ~/.config), and the value in its text.
std::filesystem::path LauncherPreferencesFile();
std::optional<std::int32_t> LastModelInIniText(std::string_view text);
// Any value of the launcher's INI file, from its text or from the file (read up to a few KiB).
std::optional<std::string> LauncherValueInIniText(std::string_view text, std::string_view key);
std::optional<std::string> ReadLauncherValue(const std::filesystem::path& file, std::string_view key);
std::optional<std::int32_t> ReadLastModelFile(const std::filesystem::path& file);

} // namespace qzb
