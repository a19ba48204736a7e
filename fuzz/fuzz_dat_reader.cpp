// Arbitrary bytes as a DAT file, opened under a model of each family: a failed open leaves model
// and directory as they were; a successful one switches to the header's model, and saving and
// opening again gives the same file.
#include "app/app_context.h"
#include "files/dat_file.h"
#include "fuzz_checks.h"
#include "fuzz_file.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <utility>

namespace {

constexpr std::uint16_t kToday = (26 << 9) | (3 << 5) | 14;

// A context fresh for the model. Building one fills the value store from its tables, which took
// most of a run; assigning a kept copy over a working one reuses the working one's memory.
// Two working copies a model: the one opened and the one a saved file is opened again into.
qzb::CAppContext& FreshContext(std::int32_t model, int copy)
{
    static std::map<std::int32_t, const qzb::CAppContext> pristine;
    static std::map<std::pair<std::int32_t, int>, qzb::CAppContext> working;
    const qzb::CAppContext& initial = pristine.try_emplace(model, model).first->second;
    qzb::CAppContext& context = working.try_emplace({model, copy}, model).first->second;
    context = initial;
    return context;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace qzb;
    static CMemoryFile input("input.dat");
    static CMemoryFile again("again.dat");
    input.Write(data, size);
    for (const std::int32_t running : {8313, 8329}) {
        CAppContext& context = FreshContext(running, 0);
        context.device.book.SetGroupName(1, "kept", kToday);
        const CAddressBook before = context.device.book;
        const MessageCode code = OpenDatFile(input.Path(), context);
        if (code != kOk) {
            Require(code == kMsgInvalidFormatOpenFileErr, "result code of a damaged file");
            Require(context.modelCode == running && context.device.book == before, "a failed open changed things");
            continue;
        }
        RequireBookRules(context.device.book);
        const std::vector<std::uint8_t> saved = BuildDatFile(context, kToday);
        again.Write(saved.data(), saved.size());
        CAppContext& reopened = FreshContext(context.modelCode, 1);
        Require(OpenDatFile(again.Path(), reopened) == kOk, "opening a saved file");
        Require(reopened.modelCode == context.modelCode, "the model of a saved file");
        Require(BuildDatFile(reopened, kToday) == saved, "save, open, save is stable");
    }
    return 0;
}
