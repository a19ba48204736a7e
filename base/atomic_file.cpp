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

bool WriteFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes)
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
    // mkstemp creates the file for its owner only; a new DAT or CSV file gets the usual rights,
    // a replaced one keeps those it had.
    struct stat existing
    {
    };
    if (::stat(path.c_str(), &existing) == 0) {
        ::fchmod(fd, existing.st_mode & 07777);
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd, 0666 & ~mask);
    }
    const bool ok = WriteAll(fd, bytes) && ::fsync(fd) == 0;
    if (::close(fd) != 0 || !ok || ::rename(pattern.c_str(), path.c_str()) != 0) {
        ::unlink(pattern.c_str());
        return false;
    }
    return true;
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
            break;
        }
        if (n < sizeof(buffer)) {
            ok = !std::ferror(file);
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
