#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

namespace qzb {

// Writes the bytes to a temporary file in the same folder and renames it over the target only
// after a complete, flushed write: a failure never destroys the previous file.
bool WriteFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

enum class ReadFileResult : std::uint8_t { Ok, CannotOpen, ReadFailed };

// Reads a whole file, refusing files larger than maxBytes as unreadable.
ReadFileResult ReadWholeFile(const std::filesystem::path& path,
                             std::vector<std::uint8_t>& bytes,
                             std::size_t maxBytes = std::size_t{64} << 20);

} // namespace qzb
