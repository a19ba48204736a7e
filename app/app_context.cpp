#include "app/app_context.h"

#include "app/language_class.h"
#include "app/messenger.h"
#include "app/rendered_text.h"
#include "model/model_defaults.h"
#include "model/operation_seed.h"
#include "model/text_codec.h"

#include <unistd.h>

namespace qzb {

CAppContext::CAppContext(std::int32_t startModelCode)
    : profile(&FindModelProfile(startModelCode))
    , modelCode(startModelCode)
    , modelBit(profile->modelBit)
{
}

std::vector<std::filesystem::path> SearchedFolders(const CDataFolders& folders)
{
    if (folders.commandLine) {
        return {*folders.commandLine};
    }
    std::vector<std::filesystem::path> candidates;
    if (folders.environment) {
        candidates.push_back(*folders.environment);
    }
    candidates.insert(candidates.end(), folders.fallbacks.begin(), folders.fallbacks.end());
    return candidates;
}

std::filesystem::path FindDataFile(const CDataFolders& folders, const std::string& fileName)
{
    const std::vector<std::filesystem::path> candidates = SearchedFolders(folders);
    std::error_code error;
    for (const auto& folder : candidates) {
        const std::filesystem::path path = folder / fileName;
        if (std::filesystem::is_regular_file(path, error) && ::access(path.c_str(), R_OK) == 0) {
            return path;
        }
    }
    return candidates.empty() ? std::filesystem::path(fileName) : candidates.front() / fileName;
}

namespace {

CKeyedText DamagedTableProblem(const std::filesystem::path& path, std::size_t line)
{
    return KeyedText("STR_LOAD_TABLE_DAMAGED", {PlainValue(path.string()), PlainValue(std::to_string(line))});
}

} // namespace

bool LoadProfileStringTable(CAppContext& context, const CDataFolders& folders, CKeyedText& problem)
{
    const std::string fileName = StringTableFileName(*context.profile);
    const std::filesystem::path path = FindDataFile(folders, fileName);
    if (context.language != kEnglishLanguage) {
        const std::filesystem::path translatedPath = FindDataFile(folders, context.language + "/" + fileName);
        CStringTable translated;
        const CStringTableLoad load = translated.LoadFile(translatedPath);
        if (load.status == CStringTableLoad::Status::BadLine) {
            problem = DamagedTableProblem(translatedPath, load.line);
            return false;
        }
        if (load.Ok()) {
            CStringTable english;
            if (english.LoadFile(path).Ok()) {
                translated.AddMissing(english);
            }
            context.strings = std::move(translated);
            problem = {};
            return true;
        }
        context.language = std::string(kEnglishLanguage);
    }
    const CStringTableLoad load = context.strings.LoadFile(path);
    switch (load.status) {
        case CStringTableLoad::Status::Ok:
            problem = {};
            return true;
        case CStringTableLoad::Status::NotFound: {
            std::string searched;
            for (const auto& folder : SearchedFolders(folders)) {
                searched += (searched.empty() ? "" : ", ") + folder.string();
            }
            problem = searched.empty()
                          ? KeyedText("STR_LOAD_TABLE_NOT_FOUND", {PlainValue(fileName)})
                          : KeyedText("STR_LOAD_TABLE_NOT_FOUND_IN", {PlainValue(fileName), PlainValue(searched)});
            return false;
        }
        case CStringTableLoad::Status::BadLine:
            problem = DamagedTableProblem(path, load.line);
            return false;
    }
    return false;
}

bool LoadProfileStringTable(CAppContext& context, const CDataFolders& folders, CMessenger& messenger)
{
    CKeyedText problem;
    if (LoadProfileStringTable(context, folders, problem)) {
        return true;
    }
    // The table did not load: the texts are the English the utility ships.
    messenger.ShowPlain(RenderText(problem, &context.strings));
    return false;
}

void SeedAppContext(CAppContext& context, CMessenger& messenger)
{
    context.languageClass = LanguageClassFor(messenger.Text(kLanguageProbeKey));
    ApplyModelDefaults(context.store, context.modelBit);
    context.device.dialModeCode = SeedFromOperationBlock(context.device.operationBlock, context.store);
}

std::filesystem::path HelpFilePath(const CModelProfile& profile, const std::filesystem::path& executable)
{
    // The manual is HTML, named after the profile's help file: beside the executable, or in the
    // data folder where the installation (and the build tree) puts it.
    const std::string name = std::filesystem::path(profile.helpFile).replace_extension(".html").string();
    if (executable.empty()) {
        return std::filesystem::path(name);
    }
    const std::filesystem::path beside = executable.parent_path() / name;
    if (std::filesystem::exists(beside)) {
        return beside;
    }
    return executable.parent_path().parent_path() / "share" / "qzb" / "help" / name;
}

} // namespace qzb
