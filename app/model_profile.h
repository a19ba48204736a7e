#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qzb {

enum class ModelFamily : std::uint8_t { Obsidian, Coral };

// Everything the model code fixes at start-up. The string table, preferences key, lock and help
// file chosen from it stay for the whole run even when a device or file switches the model later.
struct CModelProfile
{
    std::int32_t modelCode; // equals the device's USB product id
    std::uint32_t modelBit; // selector of every model-dependent table
    std::string_view modelName;
    std::string_view shortCode;
    std::string_view tableSuffix; // "QZB" or "XJW": string table "<short code><suffix>STR.tbl"
    std::string_view lockName;
    std::string_view helpFile;
    std::string_view dataSubPath; // below the local application-data folder, backslash separated
    ModelFamily family;
};

inline constexpr std::int32_t kDefaultModelCode = 2152;
inline constexpr std::uint32_t kEveryModelMask = 0x0FFFFFFF;

// Unknown codes fall back to the 8313 profile (model bit 1).
const CModelProfile& FindModelProfile(std::int32_t modelCode);
bool IsKnownModel(std::int32_t modelCode);

std::string StringTableFileName(const CModelProfile& profile);
// "Software\<maker>\<name> <suffix>"; empty when it would exceed 259 characters.
std::string PreferencesKeyPath(const CModelProfile& profile);
// The data sub-path with forward slashes and no leading separator.
std::string DataSubPathRelative(const CModelProfile& profile);

} // namespace qzb
