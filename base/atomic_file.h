#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <system_error>
#include <vector>

namespace qzb {

// Writes the bytes to a temporary file in the same folder and renames it over the target only
// after a complete, flushed write: a failure never destroys the previous file. A file the user may
// not write is not replaced (EACCES), even for root when it has no write permission bit at all.
// The system's reason for a failure goes to error when given.
bool WriteFileAtomically(const std::filesystem::path& path,
                         std::span<const std::uint8_t> bytes,
                         std::error_code* error = nullptr);

enum class ReadFileResult : std::uint8_t { Ok, CannotOpen, ReadFailed };

// Reads a whole file, refusing files larger than maxBytes as unreadable.
ReadFileResult ReadWholeFile(const std::filesystem::path& path,
                             std::vector<std::uint8_t>& bytes,
                             std::size_t maxBytes = std::size_t{64} << 20);
// The same, with the system's reason for a failure (EFBIG for a file over the limit).
ReadFileResult ReadWholeFile(const std::filesystem::path& path,
                             std::vector<std::uint8_t>& bytes,
                             std::error_code& error,
                             std::size_t maxBytes = std::size_t{64} << 20);

} // namespace qzb
