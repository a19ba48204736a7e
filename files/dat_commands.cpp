#include "files/dat_commands.h"

#include "app/model_profile.h"
#include "files/dat_file.h"

#include <array>
#include <cstdio>

namespace qzb {

std::filesystem::path DatPathWithExtension(const std::filesystem::path& path)
{
    return WithDatExtension(path);
}

MessageCode CheckDatFamily(const std::filesystem::path& path, std::int32_t runningModel)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        return kMsgOpenFileError;
    }
    std::array<std::uint8_t, kDatHeaderSize> header{};
    const std::size_t got = std::fread(header.data(), 1, header.size(), file);
    // A folder opens on some systems and fails only at the first read.
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) {
        return kMsgOpenFileError;
    }
    if (got < header.size()) {
        return kMsgInvalidFormatOpenFileErr;
    }
    // The family goes by the magic, not by the profile: 2152 writes the other family's magic.
    const std::optional<std::int32_t> model = DatHeaderModel(header);
    if (!model || DatMagicFor(*model) != DatMagicFor(runningModel)) {
        return kMsgInvalidFormatOpenFileErr;
    }
    return kOk;
}

std::filesystem::path DefaultDataFolder(const std::filesystem::path& localAppData, const CModelProfile& profile)
{
    return localAppData / DataSubPathRelative(profile);
}

} // namespace qzb
