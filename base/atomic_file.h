#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <system_error>
#include <vector>

namespace qzb {

// Who may read a written file: the usual rights (the umask's for a new file, those it had for a
// replaced one), or its owner alone whatever it had, for files that hold passwords.
enum class FileRights : std::uint8_t { Usual, OwnerOnly };

// Writes the bytes to a temporary file in the same folder and renames it over the target only
// after a complete, flushed write: a failure never destroys the previous file. A file the user may
// not write is not replaced (EACCES), even for root when it has no write permission bit at all.
// The system's reason for a failure goes to error when given, and to errno.
bool WriteFileAtomically(const std::filesystem::path& path,
                         std::span<const std::uint8_t> bytes,
                         std::error_code* error = nullptr,
                         FileRights rights = FileRights::Usual);

inline bool
WriteFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes, FileRights rights)
{
    return WriteFileAtomically(path, bytes, nullptr, rights);
}

enum class ReadFileResult : std::uint8_t { Ok, CannotOpen, ReadFailed };

// Reads a whole file, refusing files larger than maxBytes as unreadable. On failure errno holds
// the reason (EFBIG for a file over the limit).
ReadFileResult ReadWholeFile(const std::filesystem::path& path,
                             std::vector<std::uint8_t>& bytes,
                             std::size_t maxBytes = std::size_t{64} << 20);
// The same, with the system's reason for a failure (EFBIG for a file over the limit).
ReadFileResult ReadWholeFile(const std::filesystem::path& path,
                             std::vector<std::uint8_t>& bytes,
                             std::error_code& error,
                             std::size_t maxBytes = std::size_t{64} << 20);

} // namespace qzb
