#pragma once

#include <chrono>
#include <filesystem>

namespace qzb {

// How long a writer waits for another program that is changing the same file.
inline constexpr std::chrono::milliseconds kFileLockWait{10000};

// An exclusive advisory lock (flock) on a settings file, held across reading, changing and
// writing it back, so that two writers never lose each other's change. The lock is taken on the
// file itself: a writer renames a new file over the name, so a lock won on the file that was
// replaced meanwhile is given up and taken again on the new one.
class CFileLock
{
public:
    CFileLock() = default;
    CFileLock(const CFileLock&) = delete;
    CFileLock& operator=(const CFileLock&) = delete;
    ~CFileLock() { Release(); }

    // Takes the lock on the file path names (through its links), waiting up to wait for another
    // holder; false when it is still held then. A file that does not exist yet or is no regular
    // file is not locked and true is returned: the read or write that follows reports it.
    bool Acquire(const std::filesystem::path& path, std::chrono::milliseconds wait = kFileLockWait);
    void Release();
    bool Held() const { return m_fd >= 0; }

private:
    int m_fd = -1;
};

} // namespace qzb
