#pragma once

#include "base/message_codes.h"
#include "machine/image_decoder.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string_view>
#include <system_error>
#include <vector>

namespace qzb {

struct CAppContext;

// A DAT settings file: 16 bytes of magic, the u32 model id it was written for, 16 reserved zero
// bytes, then a machine image in file mode up to the end of the file.
inline constexpr std::size_t kDatHeaderSize = 36;
inline constexpr std::size_t kDatMagicSize = 16;

// "QZB|CORALAIO" for model 8329, "QZB|OBSIDIANAIO" for every other model id.
std::string_view DatMagicFor(std::int32_t modelCode);
// Appends ".DAT" unless the name already ends in it, in any case.
std::filesystem::path WithDatExtension(const std::filesystem::path& path);
// The model bit a model id in a DAT header stands for.
std::uint32_t ModelBitForDat(std::int32_t modelCode);
// The model a DAT header names when its id is one the header's magic is written for: 8329 with
// "QZB|CORALAIO", 8313, 8314, 8315 or 2152 with "QZB|OBSIDIANAIO". Nothing for any other header.
std::optional<std::int32_t> DatHeaderModel(std::span<const std::uint8_t> header);

struct CDatContents
{
    std::int32_t modelCode = 0;
    std::vector<std::uint8_t> image;
};

// Reads and checks a DAT file without changing anything: the magic must be the one the running
// model writes, the model id one of that magic's and the image must be whole. Codes: 0x80020044
// cannot open, 0x80020045 not a settings file of this family (or damaged), 0x80020032 read
// failure; the system's reason for the first and the last goes to error when given.
MessageCode ReadDatFile(const std::filesystem::path& path,
                        std::int32_t runningModelCode,
                        CDatContents& contents,
                        std::error_code* error = nullptr);

// Reads a DAT file whole, unchecked: 0, 0x80020044 cannot open or 0x80020032 read failure, with
// the system's reason in error when given.
MessageCode ReadDatBytes(const std::filesystem::path& path, std::vector<std::uint8_t>& bytes, std::error_code* error);

// The checks of ReadDatFile on a whole file already read (a pipe gives its bytes only once).
MessageCode ParseDatFile(std::span<const std::uint8_t> bytes, std::int32_t runningModelCode, CDatContents& contents);

// Opens a DAT file into the context: on success only, the running model switches to the file's,
// the address book is replaced and the image decoded over the value store.
MessageCode OpenDatFile(const std::filesystem::path& path,
                        CAppContext& context,
                        const TextLookup& text = {},
                        std::error_code* error = nullptr);

// The same for a whole file already read.
MessageCode OpenDatBytes(std::span<const std::uint8_t> bytes, CAppContext& context, const TextLookup& text = {});

// A DAT file of an image: header for the model id, then the image.
std::vector<std::uint8_t> DatFileOf(std::int32_t modelCode, std::span<const std::uint8_t> image);

// The whole file for the running model, header and file-mode image.
std::vector<std::uint8_t> BuildDatFile(CAppContext& context, std::optional<std::uint16_t> today = std::nullopt);

// Writes the file atomically under path (".DAT" appended when missing), its owner's alone when new:
// it holds the device's passwords. 0 or 0x80020031.
MessageCode WriteDatFile(const std::filesystem::path& path,
                         CAppContext& context,
                         std::optional<std::uint16_t> today = std::nullopt,
                         std::error_code* error = nullptr);

} // namespace qzb
