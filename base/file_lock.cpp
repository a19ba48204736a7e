#include "base/file_lock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace qzb {

namespace {

constexpr std::chrono::milliseconds kPollInterval{5};

bool SameFile(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

} // namespace

bool CFileLock::Acquire(const std::filesystem::path& path, std::chrono::milliseconds wait)
{
    Release();
    const auto deadline = std::chrono::steady_clock::now() + wait;
    while (true) {
        // Non-blocking, so that a FIFO at the path does not hold the open.
        const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) {
            return true;
        }
        struct stat held
        {
        };
        if (::fstat(fd, &held) != 0 || !S_ISREG(held.st_mode)) {
            ::close(fd);
            return true;
        }
        int reason = 0;
        while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            reason = errno;
            if (reason == EINTR) {
                continue;
            }
            if (reason != EWOULDBLOCK || std::chrono::steady_clock::now() >= deadline) {
                break;
            }
            reason = 0;
            std::this_thread::sleep_for(kPollInterval);
        }
        if (reason != 0) {
            ::close(fd);
            // A file system without locks (some network shares): the write goes ahead unguarded.
            return reason != EWOULDBLOCK;
        }
        // The holder before may have renamed a new file over the name: the lock then guards a file
        // that nobody reads any more.
        struct stat current
        {
        };
        if (::stat(path.c_str(), &current) == 0 && SameFile(current, held)) {
            m_fd = fd;
            return true;
        }
        ::close(fd);
    }
}

void CFileLock::Release()
{
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

} // namespace qzb
