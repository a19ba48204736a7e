#include "base/atomic_file.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace qzb {

namespace {

bool WriteAll(int fd, std::span<const std::uint8_t> bytes)
{
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        written += static_cast<std::size_t>(n);
    }
    return true;
}

bool Failed(std::error_code* error, int code)
{
    errno = code;
    if (error) {
        *error = std::error_code(code, std::generic_category());
    }
    return false;
}

// A rename replaces a file whatever its own permissions say, so a read-only file is checked first.
// faccessat grants root everything; a file without any write bit is read-only for root too.
int ReplaceRefusal(const std::filesystem::path& path)
{
    struct stat existing
    {
    };
    if (::stat(path.c_str(), &existing) != 0) {
        return 0;
    }
    if (::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0) {
        return errno;
    }
    if (::geteuid() == 0 && (existing.st_mode & 0222) == 0) {
        return EACCES;
    }
    return 0;
}

} // namespace

bool WriteFileAtomically(const std::filesystem::path& path,
                         std::span<const std::uint8_t> bytes,
                         std::error_code* error,
                         FileRights rights)
{
    if (const int refusal = ReplaceRefusal(path); refusal != 0) {
        return Failed(error, refusal);
    }
    const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
    std::string name = ".";
    name += path.filename().string();
    name += ".XXXXXX";
    std::string pattern = (folder / name).string();
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) {
        return Failed(error, errno);
    }
    // mkstemp creates the file for its owner only; a new file gets the usual rights, a replaced one
    // keeps those it had, and a file holding passwords is its owner's alone.
    struct stat existing
    {
    };
    if (rights == FileRights::OwnerOnly) {
        ::fchmod(fd, S_IRUSR | S_IWUSR);
    } else if (::stat(path.c_str(), &existing) == 0) {
        ::fchmod(fd, existing.st_mode & 07777);
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd, 0666 & ~mask);
    }
    errno = 0;
    bool ok = WriteAll(fd, bytes) && ::fsync(fd) == 0;
    int reason = ok ? 0 : errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        reason = errno;
    }
    if (ok && ::rename(pattern.c_str(), path.c_str()) != 0) {
        ok = false;
        reason = errno;
    }
    if (!ok) {
        ::unlink(pattern.c_str());
        // A short write without an error from the system means the disk is full.
        return Failed(error, reason != 0 ? reason : ENOSPC);
    }
    return true;
}

ReadFileResult ReadWholeFile(const std::filesystem::path& path, std::vector<std::uint8_t>& bytes, std::size_t maxBytes)
{
    std::error_code error;
    const ReadFileResult result = ReadWholeFile(path, bytes, error, maxBytes);
    if (result != ReadFileResult::Ok) {
        errno = error.value();
    }
    return result;
}

ReadFileResult ReadWholeFile(const std::filesystem::path& path,
                             std::vector<std::uint8_t>& bytes,
                             std::error_code& error,
                             std::size_t maxBytes)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        error = std::error_code(errno, std::generic_category());
        return ReadFileResult::CannotOpen;
    }
    std::vector<std::uint8_t> content;
    std::uint8_t buffer[64 * 1024];
    bool ok = true;
    while (true) {
        const std::size_t n = std::fread(buffer, 1, sizeof(buffer), file);
        content.insert(content.end(), buffer, buffer + n);
        if (content.size() > maxBytes) {
            ok = false;
            error = std::make_error_code(std::errc::file_too_large);
            break;
        }
        if (n < sizeof(buffer)) {
            ok = !std::ferror(file);
            if (!ok) {
                error = std::error_code(errno != 0 ? errno : EIO, std::generic_category());
            }
            break;
        }
    }
    std::fclose(file);
    if (!ok) {
        return ReadFileResult::ReadFailed;
    }
    bytes = std::move(content);
    return ReadFileResult::Ok;
}

} // namespace qzb
