#include "files/dat_file.h"

#include "app/app_context.h"
#include "base/atomic_file.h"
#include "machine/image_encoder.h"
#include "model/machine_image.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace qzb {

std::string_view DatMagicFor(std::int32_t modelCode)
{
    return modelCode == 8329 ? "QZB|CORALAIO" : "QZB|OBSIDIANAIO";
}

std::filesystem::path WithDatExtension(const std::filesystem::path& path)
{
    std::string name = path.string();
    std::string tail = name.size() >= 4 ? name.substr(name.size() - 4) : name;
    std::transform(tail.begin(), tail.end(), tail.begin(), [](unsigned char c) { return std::toupper(c); });
    return tail == ".DAT" ? path : std::filesystem::path(name + ".DAT");
}

std::uint32_t ModelBitForDat(std::int32_t modelCode)
{
    switch (modelCode) {
        case 2152:
            return 0x004;
        case 8314:
            return 0x100;
        case 8315:
            return 0x200;
        case 8329:
            return 0x002;
        default:
            return 0x001;
    }
}

std::optional<std::int32_t> DatHeaderModel(std::span<const std::uint8_t> header)
{
    if (header.size() < kDatHeaderSize) {
        return std::nullopt;
    }
    const auto model = static_cast<std::int32_t>(ReadLe(header.subspan(16, 4)));
    // A Coral file written for an Obsidian model (or the reverse) could be saved again only in the
    // other family's form, which its own family no longer opens.
    const bool known = model == 8313 || model == 8314 || model == 8315 || model == 8329 || model == 2152;
    const std::string_view magic = DatMagicFor(model);
    if (!known || std::memcmp(header.data(), magic.data(), magic.size()) != 0) {
        return std::nullopt;
    }
    return model;
}

MessageCode ReadDatBytes(const std::filesystem::path& path, std::vector<std::uint8_t>& bytes, std::error_code* error)
{
    std::error_code reason;
    const ReadFileResult result = ReadWholeFile(path, bytes, reason);
    if (result != ReadFileResult::Ok && error) {
        *error = reason;
    }
    switch (result) {
        case ReadFileResult::CannotOpen:
            return kMsgServicemanOpenFileError;
        case ReadFileResult::ReadFailed:
            return kMsgReadFileError;
        case ReadFileResult::Ok:
            break;
    }
    return kOk;
}

MessageCode ReadDatFile(const std::filesystem::path& path,
                        std::int32_t runningModelCode,
                        CDatContents& contents,
                        std::error_code* error)
{
    std::vector<std::uint8_t> bytes;
    if (const MessageCode code = ReadDatBytes(path, bytes, error); code != kOk) {
        return code;
    }
    return ParseDatFile(bytes, runningModelCode, contents);
}

MessageCode ParseDatFile(std::span<const std::uint8_t> bytes, std::int32_t runningModelCode, CDatContents& contents)
{
    const std::string_view magic = DatMagicFor(runningModelCode);
    if (bytes.size() < kDatHeaderSize || std::memcmp(bytes.data(), magic.data(), magic.size()) != 0) {
        return kMsgInvalidFormatOpenFileErr;
    }
    const std::optional<std::int32_t> model = DatHeaderModel(bytes);
    if (!model) {
        return kMsgInvalidFormatOpenFileErr;
    }
    const std::span<const std::uint8_t> image = bytes.subspan(kDatHeaderSize);
    if (!IsWellFormedImage(image)) {
        return kMsgInvalidFormatOpenFileErr;
    }
    contents.modelCode = *model;
    contents.image.assign(image.begin(), image.end());
    return kOk;
}

MessageCode
OpenDatFile(const std::filesystem::path& path, CAppContext& context, const TextLookup& text, std::error_code* error)
{
    std::vector<std::uint8_t> bytes;
    if (const MessageCode code = ReadDatBytes(path, bytes, error); code != kOk) {
        return code;
    }
    return OpenDatBytes(bytes, context, text);
}

MessageCode OpenDatBytes(std::span<const std::uint8_t> bytes, CAppContext& context, const TextLookup& text)
{
    CDatContents contents;
    if (const MessageCode code = ParseDatFile(bytes, context.modelCode, contents); code != kOk) {
        return code;
    }
    // The image was checked whole, so nothing below can fail half way.
    context.device.book.Clear();
    const MessageCode decoded = DecodeMachineImage(context.device, context.store, contents.image, text);
    if (decoded != kOk) {
        return decoded == kMsgMalformedImage ? kMsgInvalidFormatOpenFileErr : decoded;
    }
    context.modelCode = contents.modelCode;
    context.modelBit = ModelBitForDat(contents.modelCode);
    return kOk;
}

std::vector<std::uint8_t> DatFileOf(std::int32_t modelCode, std::span<const std::uint8_t> image)
{
    std::vector<std::uint8_t> file(kDatHeaderSize, 0);
    file.reserve(kDatHeaderSize + image.size());
    const std::string_view magic = DatMagicFor(modelCode);
    std::copy(magic.begin(), magic.end(), file.begin());
    const auto model = static_cast<std::uint32_t>(modelCode);
    for (int i = 0; i < 4; ++i) {
        file[16 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(model >> (8 * i));
    }
    file.insert(file.end(), image.begin(), image.end());
    return file;
}

std::vector<std::uint8_t> BuildDatFile(CAppContext& context, std::optional<std::uint16_t> today)
{
    CEncodeOptions options;
    options.mode = EncodeMode::File;
    options.today = today;
    return DatFileOf(context.modelCode, EncodeMachineImage(context.device, context.store, options));
}

MessageCode WriteDatFile(const std::filesystem::path& path,
                         CAppContext& context,
                         std::optional<std::uint16_t> today,
                         std::error_code* error)
{
    const std::vector<std::uint8_t> file = BuildDatFile(context, today);
    return WriteFileAtomically(WithDatExtension(path), file, error, FileRights::OwnerOnlyWhenNew) ? kOk
                                                                                                  : kMsgWriteFileError;
}

} // namespace qzb
