#pragma once

#include "app/language_choice.h"
#include "app/model_profile.h"
#include "app/string_table.h"
#include "base/keyed_text.h"
#include "machine/device_data.h"
#include "model/value_store.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace qzb {

class CMessenger;

// Process-wide state of the utility that the front ends share: the profile chosen at start, the
// current model, the texts, the value store and the values seeded from the operation block.
struct CAppContext
{
    explicit CAppContext(std::int32_t startModelCode = kDefaultModelCode);

    const CModelProfile* profile;
    std::int32_t modelCode;
    std::uint32_t modelBit;
    CStringTable strings;
    CValueStore store;
    CDeviceData device;
    std::int32_t languageClass = 63;
    // The language of the texts: set before the table loads to the one wanted, and after it to the
    // one loaded (English where the wanted language has no table).
    std::string language{kEnglishLanguage};
    std::filesystem::path helpFilePath;
};

// Where the string tables and other data files are looked for, in order.
struct CDataFolders
{
    std::optional<std::filesystem::path> commandLine; // --data-dir: the only place when given
    std::optional<std::filesystem::path> environment; // $QZB_DATA_DIR
    std::vector<std::filesystem::path> fallbacks; // beside the executable, the build tree
};

// The folders looked in, in order: --data-dir alone when given, else the others.
std::vector<std::filesystem::path> SearchedFolders(const CDataFolders& folders);

// The first folder's fileName that is a readable plain file, or the first candidate when none is.
std::filesystem::path FindDataFile(const CDataFolders& folders, const std::string& fileName);

// Loads the profile's string table in the context's language (the table of that name in the
// language's folder, completed key by key from the English table), or else the English one; on failure problem says why
// ("Can not find ..." with the folders searched, or the damaged line) as a keyed text, which the
// front end renders in the English the utility ships since there is no table.
bool LoadProfileStringTable(CAppContext& context, const CDataFolders& folders, CKeyedText& problem);
// The same, showing the problem in a plain message box.
bool LoadProfileStringTable(CAppContext& context, const CDataFolders& folders, CMessenger& messenger);

// The steps after the table: model defaults, language class and the operation block's items.
void SeedAppContext(CAppContext& context, CMessenger& messenger);

// The help file beside the executable, named after the profile.
std::filesystem::path HelpFilePath(const CModelProfile& profile, const std::filesystem::path& executable);

} // namespace qzb
