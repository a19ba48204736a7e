#include "app/model_profile.h"

#include <algorithm>
#include <array>

namespace qzb {

namespace {

constexpr std::array kProfiles = {
    CModelProfile{8313,
                  0x001,
                  "MERIDAN TOVELL lumatrace 8120MF",
                  "M8120",
                  "QZB",
                  "Global\\ObsidianAIO QZB",
                  "Obsidian.chm",
                  "\\MERIDAN TOVELL\\lumatrace 8120MF",
                  ModelFamily::Obsidian},
    CModelProfile{8314,
                  0x100,
                  "MERIDAN TOVELL lumatrace 8125MF",
                  "M8125",
                  "QZB",
                  "Global\\ObsidianAIO QZB",
                  "Obsidian.chm",
                  "\\MERIDAN TOVELL\\lumatrace 8125MF",
                  ModelFamily::Obsidian},
    CModelProfile{8315,
                  0x200,
                  "MERIDAN TOVELL quorra K40",
                  "K40",
                  "QZB",
                  "Global\\ObsidianAIO QZB",
                  "Obsidian.chm",
                  "\\MERIDAN TOVELL\\quorra K40",
                  ModelFamily::Obsidian},
    CModelProfile{8329,
                  0x002,
                  "MERIDAN TOVELL lumatrace 3120MF",
                  "M3120",
                  "QZB",
                  "Global\\CoralAIO QZB",
                  "Coral.chm",
                  "\\MERIDAN TOVELL\\lumatrace 3120MF",
                  ModelFamily::Coral},
    CModelProfile{2152,
                  0x004,
                  "TARVO QP-RZ41NF",
                  "QP-RZ41",
                  "XJW",
                  "Global\\CoralSEC XJW",
                  "QP-RZ41_XJW.chm",
                  "\\TARVO_P1\\QP-RZ41NF",
                  ModelFamily::Coral},
};

constexpr std::size_t kMaxKeyPath = 259;

} // namespace

const CModelProfile& FindModelProfile(std::int32_t modelCode)
{
    for (const CModelProfile& profile : kProfiles) {
        if (profile.modelCode == modelCode) {
            return profile;
        }
    }
    return kProfiles[0];
}

bool IsKnownModel(std::int32_t modelCode)
{
    return std::any_of(
        kProfiles.begin(), kProfiles.end(), [modelCode](const CModelProfile& p) { return p.modelCode == modelCode; });
}

std::string StringTableFileName(const CModelProfile& profile)
{
    return std::string(profile.shortCode) + std::string(profile.tableSuffix) + "STR.tbl";
}

std::string PreferencesKeyPath(const CModelProfile& profile)
{
    std::string path;
    if (profile.tableSuffix == "XJW") {
        // The maker's word is taken out of the model name, so the inserted name begins with a blank.
        std::string name(profile.modelName);
        if (const auto pos = name.find("TARVO"); pos != std::string::npos) {
            name.erase(pos, 5);
        }
        path = "Software\\TARVO_P1\\" + name + " XJW";
    } else {
        path = "Software\\MERIDAN TOVELL\\" + std::string(profile.modelName) + " QZB";
    }
    return path.size() > kMaxKeyPath ? std::string() : path;
}

std::string DataSubPathRelative(const CModelProfile& profile)
{
    std::string path(profile.dataSubPath);
    std::replace(path.begin(), path.end(), '\\', '/');
    path.erase(0, path.find_first_not_of('/'));
    return path;
}

} // namespace qzb
