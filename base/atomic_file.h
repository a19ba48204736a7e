#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

namespace qzb {

// Who may read a written file: the usual rights (the umask's for a new file, those it had for a
// replaced one), or its owner alone whatever it had, for files that hold passwords.
enum class FileRights : std::uint8_t { Usual, OwnerOnly };

// Writes the bytes to a temporary file in the same folder and renames it over the target only
// after a complete, flushed write: a failure never destroys the previous file. On failure errno
// holds the reason of the step that failed.
bool WriteFileAtomically(const std::filesystem::path& path,
                         std::span<const std::uint8_t> bytes,
                         FileRights rights = FileRights::Usual);

enum class ReadFileResult : std::uint8_t { Ok, CannotOpen, ReadFailed };

// Reads a whole file, refusing files larger than maxBytes as unreadable (errno EFBIG). On failure
// errno holds the reason.
ReadFileResult ReadWholeFile(const std::filesystem::path& path,
                             std::vector<std::uint8_t>& bytes,
                             std::size_t maxBytes = std::size_t{64} << 20);

} // namespace qzb
