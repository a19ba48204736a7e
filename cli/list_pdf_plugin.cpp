#include "cli/list_pdf_plugin.h"

#include "cli/cli_app.h"

#include <dlfcn.h>

#include <filesystem>
#include <vector>

namespace qzb {

namespace {

std::vector<std::filesystem::path> PluginFolders()
{
    std::vector<std::filesystem::path> folders;
#ifdef QZB_PLUGIN_SUBDIR
    if (const auto exe = ExecutableFolder(); !exe.empty()) {
        folders.push_back(exe / ".." / QZB_PLUGIN_SUBDIR);
    }
#endif
#ifdef QZB_BUILD_PLUGIN_DIR
    folders.emplace_back(QZB_BUILD_PLUGIN_DIR);
#endif
    return folders;
}

} // namespace

CreateListPdfWriterFunction LoadListPdfPlugin(std::string& problem)
{
    static CreateListPdfWriterFunction loaded = nullptr;
    if (loaded != nullptr) {
        return loaded;
    }
    problem = std::string(kListPdfPluginFile) + " was not found";
    for (const std::filesystem::path& folder : PluginFolders()) {
        const std::filesystem::path file = folder / kListPdfPluginFile;
        std::error_code error;
        if (!std::filesystem::exists(file, error)) {
            continue;
        }
        // Never closed: the fonts and the GUI application it makes live until the process ends.
        void* library = ::dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (library == nullptr) {
            problem = ::dlerror();
            return nullptr;
        }
        loaded = reinterpret_cast<CreateListPdfWriterFunction>(::dlsym(library, kListPdfWriterEntry));
        if (loaded == nullptr) {
            problem = file.string() + " is no PDF writer of this program";
        }
        return loaded;
    }
    return nullptr;
}

} // namespace qzb
