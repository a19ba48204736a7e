#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <system_error>
#include <vector>

namespace qzb {

// Who may read a written file. A file that is replaced keeps its owner, and its rights unless they
// are OwnerOnly.
enum class FileRights : std::uint8_t {
    Usual, // the umask's usual rights for a new file
    OwnerOnlyWhenNew, // device data (passwords in clear text): a new file is its owner's alone
    OwnerOnly, // copies nobody asked to share (backups, CSV exports): its owner's alone always
};

// Writes the bytes to a temporary file in the target's folder and renames it over the target only
// after a complete, flushed write: a failure never destroys the previous file. A symbolic link is
// written through to the file it ends at and stays a link. A target that exists and is no regular
// file (a folder, a FIFO, a device node) is refused and left alone. A file the user may not write
// is not replaced (EACCES), even for root when it has no write permission bit at all. Other names
// of a hard-linked file keep the old content: only a rename replaces a file in one step. The
// system's reason for a failure goes to error when given, and to errno; a failure of the folder
// (no right to create a file there, a read-only file system) is of FolderErrorCategory().
bool WriteFileAtomically(const std::filesystem::path& path,
                         std::span<const std::uint8_t> bytes,
                         std::error_code* error = nullptr,
                         FileRights rights = FileRights::Usual);

inline bool
WriteFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes, FileRights rights)
{
    return WriteFileAtomically(path, bytes, nullptr, rights);
}

// The call that puts a written file's content on the disk before the rename makes it the file (and
// the folder's after it). Tests put a recording or failing call in its place; returns the one it
// replaced. A failing call fails the write and keeps the previous file.
using FileSyncCall = int (*)(int fd);
FileSyncCall SetFileSyncCall(FileSyncCall call);

// The category of a system error that concerns the folder a file is written in, not the file.
const std::error_category& FolderErrorCategory();
// The refusal to replace something that is no regular file.
std::error_code NotRegularFileError();

// "path: reason" for the user, naming the folder when the folder refused the file.
std::string FileErrorText(const std::filesystem::path& path, std::error_code reason);

// The file a path ends at after its symbolic links (the path itself when it is none, or when a
// link points at nothing yet); nothing when the links loop or cannot be read.
std::optional<std::filesystem::path> LinkTarget(const std::filesystem::path& path, std::error_code* error = nullptr);

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
