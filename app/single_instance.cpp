#include "app/single_instance.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qzb {

std::string CSingleInstanceLock::LockFileName(std::string_view lockName)
{
    std::string name = "qzb-";
    for (char c : lockName) {
        const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-';
        name.push_back(plain ? c : '_');
    }
    return name + ".lock";
}

CSingleInstanceLock::CSingleInstanceLock(std::string_view lockName)
    : CSingleInstanceLock(lockName, std::filesystem::temp_directory_path())
{
}

CSingleInstanceLock::CSingleInstanceLock(std::string_view lockName, const std::filesystem::path& folder)
    : m_path(folder / LockFileName(lockName))
{
    m_fd = ::open(m_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (m_fd < 0 && errno == EACCES) {
        // Another logon's lock file that we may not write: a shared lock works on a read-only handle.
        m_fd = ::open(m_path.c_str(), O_RDONLY | O_CLOEXEC);
    }
    if (m_fd < 0) {
        return;
    }
    // Every logon shares the lock, whatever the umask; only the file's owner can widen it.
    ::fchmod(m_fd, 0666);
    if (::flock(m_fd, LOCK_EX | LOCK_NB) == 0) {
        m_state = State::Acquired;
        return;
    }
    m_state = errno == EWOULDBLOCK ? State::HeldElsewhere : State::Failed;
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
