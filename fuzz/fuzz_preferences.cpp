// Arbitrary bytes as the launcher's preferences file, which qzbctl reads without Qt for the model a
// window last ran as, and as the service-man password's binary value: the file gives what its text
// gives, only a known model is ever taken, and a password reads back as it was written.
#include "app/last_model.h"
#include "app/model_profile.h"
#include "app/preferences.h"
#include "fuzz_checks.h"
#include "fuzz_file.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace qzb;
    static CMemoryFile file("qzb.ini");
    file.Write(data, size);
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::optional<std::int32_t> model = ReadLastModelFile(file.Path());
    Require(!model || IsKnownModel(*model), "an unknown model was taken");
    // The reader takes the first few kilobytes only: a preferences file is a few lines.
    if (size <= 4096) {
        Require(model == LastModelInIniText(text), "file and text give other models");
    }

    const std::vector<std::uint8_t> bytes(data, data + size);
    const std::u16string password = DecodeBinaryText(bytes);
    Require(password.find(u'\0') == std::u16string::npos, "a password holds its terminator");
    Require(DecodeBinaryText(EncodeBinaryText(password)) == password, "a password does not read back");
    return 0;
}
