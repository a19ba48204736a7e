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

} // namespace

bool WriteFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes, FileRights rights)
{
    const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
    std::string name = ".";
    name += path.filename().string();
    name += ".XXXXXX";
    std::string pattern = (folder / name).string();
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) {
        return false;
    }
    // mkstemp creates the file for its owner only; a new DAT file gets the usual rights, a replaced
    // one keeps those it had.
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
    int error = ok ? 0 : errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok && ::rename(pattern.c_str(), path.c_str()) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        ::unlink(pattern.c_str());
        // A short write without an error from the system is a full disc as far as the user can tell.
        errno = error != 0 ? error : ENOSPC;
    }
    return ok;
}

ReadFileResult ReadWholeFile(const std::filesystem::path& path, std::vector<std::uint8_t>& bytes, std::size_t maxBytes)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
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
            errno = EFBIG;
            break;
        }
        if (n < sizeof(buffer)) {
            ok = !std::ferror(file);
            break;
        }
    }
    const int error = errno;
    std::fclose(file);
    if (!ok) {
        errno = error;
        return ReadFileResult::ReadFailed;
    }
    bytes = std::move(content);
    return ReadFileResult::Ok;
}

} // namespace qzb
