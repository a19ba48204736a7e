#include "app/app_context.h"

#include "app/language_class.h"
#include "app/messenger.h"
#include "model/model_defaults.h"
#include "model/operation_seed.h"
#include "model/text_codec.h"

namespace qzb {

CAppContext::CAppContext(std::int32_t startModelCode)
    : profile(&FindModelProfile(startModelCode))
    , modelCode(startModelCode)
    , modelBit(profile->modelBit)
{
}

std::filesystem::path FindDataFile(const CDataFolders& folders, const std::string& fileName)
{
    if (folders.commandLine) {
        return *folders.commandLine / fileName;
    }
    std::vector<std::filesystem::path> candidates;
    if (folders.environment) {
        candidates.push_back(*folders.environment);
    }
    candidates.insert(candidates.end(), folders.fallbacks.begin(), folders.fallbacks.end());
    std::error_code error;
    for (const auto& folder : candidates) {
        if (std::filesystem::is_regular_file(folder / fileName, error)) {
            return folder / fileName;
        }
    }
    return candidates.empty() ? std::filesystem::path(fileName) : candidates.front() / fileName;
}

bool LoadProfileStringTable(CAppContext& context, const CDataFolders& folders, CMessenger& messenger)
{
    const std::string fileName = StringTableFileName(*context.profile);
    const std::filesystem::path path = FindDataFile(folders, fileName);
    const CStringTableLoad load = context.strings.LoadFile(path);
    switch (load.status) {
        case CStringTableLoad::Status::Ok:
            return true;
        case CStringTableLoad::Status::NotFound:
            messenger.ShowPlain(Utf8ToUtf16("Can not find " + fileName + "."));
            return false;
        case CStringTableLoad::Status::BadLine:
            messenger.ShowPlain(Utf8ToUtf16("The string table " + path.string() + " is damaged at line " +
                                            std::to_string(load.line) +
                                            ": the line is too long or does not end with a line feed."));
            return false;
    }
    return false;
}

void SeedAppContext(CAppContext& context, CMessenger& messenger)
{
    context.languageClass = LanguageClassFor(messenger.Text("STR_MSG_BTN_NO"));
    ApplyModelDefaults(context.store, context.modelBit);
    context.device.dialModeCode = SeedFromOperationBlock(context.device.operationBlock, context.store);
}

std::filesystem::path HelpFilePath(const CModelProfile& profile, const std::filesystem::path& executable)
{
    if (executable.empty()) {
        return std::filesystem::path(profile.helpFile);
    }
    return executable.parent_path() / std::string(profile.helpFile);
}

} // namespace qzb
