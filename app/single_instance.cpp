#include "app/single_instance.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qzb {

namespace {

// Opens an existing or new lock file without following a link planted in its place and makes
// sure it is a lock file before touching its mode: a plain file with a single name. Returns the
// descriptor, or -1 with problem saying why.
int OpenSharedLockFile(const std::filesystem::path& path, std::string& problem)
{
    // O_NONBLOCK keeps a planted FIFO from stalling the open; it changes nothing for plain files.
    constexpr int kFlags = O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK;
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | kFlags, 0666);
    if (fd < 0 && errno == EACCES) {
        // Another logon's lock file that we may not write: a shared lock works on a read-only handle.
        fd = ::open(path.c_str(), O_RDONLY | kFlags);
    }
    if (fd < 0) {
        problem = errno == ELOOP ? "it is a symbolic link" : std::strerror(errno);
        return -1;
    }
    struct stat info
    {
    };
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_nlink != 1) {
        problem = "it is not a plain file with a single name";
        ::close(fd);
        return -1;
    }
    // Every logon shares the lock, whatever the umask; only the file's owner widens it. A file of
    // another logon is used as it stands.
    if (info.st_uid == ::geteuid() && (info.st_mode & 0777) != 0666) {
        ::fchmod(fd, 0666);
    }
    return fd;
}

} // namespace

std::string CSingleInstanceLock::LockFileName(std::string_view lockName)
{
    std::string name = "qzb-";
    for (char c : lockName) {
        const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-';
        name.push_back(plain ? c : '_');
    }
    return name + ".lock";
}

std::filesystem::path CSingleInstanceLock::MachineLockFolder()
{
    if (const char* folder = std::getenv("QZB_LOCK_DIR"); folder && *folder) {
        return folder;
    }
    return "/tmp";
}

CSingleInstanceLock::CSingleInstanceLock(std::string_view lockName)
    : CSingleInstanceLock(lockName, MachineLockFolder())
{
}

CSingleInstanceLock::CSingleInstanceLock(std::string_view lockName, const std::filesystem::path& folder)
    : m_path(folder / LockFileName(lockName))
{
    m_fd = OpenSharedLockFile(m_path, m_problem);
    if (m_fd < 0) {
        return;
    }
    if (::flock(m_fd, LOCK_EX | LOCK_NB) == 0) {
        m_state = State::Acquired;
        return;
    }
    m_state = errno == EWOULDBLOCK ? State::HeldElsewhere : State::Failed;
    if (m_state == State::Failed) {
        m_problem = std::strerror(errno);
    }
    ::close(m_fd);
    m_fd = -1;
}

CSingleInstanceLock::~CSingleInstanceLock()
{
    if (m_fd >= 0) {
        ::flock(m_fd, LOCK_UN);
        ::close(m_fd);
    }
}

} // namespace qzb
