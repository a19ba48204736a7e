// Arbitrary bytes as a DAT file, opened under a model of each family: a failed open leaves model
// and directory as they were; a successful one switches to the header's model, and saving and
// opening again gives the same file.
#include "app/app_context.h"
#include "files/dat_file.h"
#include "fuzz_checks.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
constexpr std::uint16_t kToday = (26 << 9) | (3 << 5) | 14;

// The files live in a folder of their own for the life of the process.
class CScratch
{
public:
    CScratch()
    {
        std::string pattern = (fs::temp_directory_path() / "qzb-fuzz-dat-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) {
            std::abort();
        }
        m_folder = pattern;
    }
    ~CScratch()
    {
        std::error_code error;
        fs::remove_all(m_folder, error);
    }
    fs::path File(const char* name) const { return m_folder / name; }

private:
    fs::path m_folder;
};

void Write(const fs::path& path, const std::uint8_t* data, std::size_t size)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace qzb;
    static const CScratch scratch;
    const fs::path input = scratch.File("input.dat");
    Write(input, data, size);
    for (const std::int32_t running : {8313, 8329}) {
        CAppContext context(running);
        context.device.book.SetGroupName(1, "kept", kToday);
        const CAddressBook before = context.device.book;
        const MessageCode code = OpenDatFile(input, context);
        if (code != kOk) {
            Require(code == kMsgInvalidFormatOpenFileErr, "result code of a damaged file");
            Require(context.modelCode == running && context.device.book == before, "a failed open changed things");
            continue;
        }
        RequireBookRules(context.device.book);
        const std::vector<std::uint8_t> saved = BuildDatFile(context, kToday);
        const fs::path again = scratch.File("again.dat");
        Write(again, saved.data(), saved.size());
        CAppContext reopened(context.modelCode);
        Require(OpenDatFile(again, reopened) == kOk, "opening a saved file");
        Require(reopened.modelCode == context.modelCode, "the model of a saved file");
        Require(BuildDatFile(reopened, kToday) == saved, "save, open, save is stable");
    }
    return 0;
}
