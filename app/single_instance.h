#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace qzb {

// The machine-wide single-instance lock of a profile: an advisory lock on a file in the machine's
// lock folder, named after the profile's lock name. Released when the object goes.
class CSingleInstanceLock
{
public:
    enum class State : std::uint8_t { Acquired, HeldElsewhere, Failed };

    CSingleInstanceLock(std::string_view lockName, const std::filesystem::path& folder);
    explicit CSingleInstanceLock(std::string_view lockName);
    ~CSingleInstanceLock();
    CSingleInstanceLock(const CSingleInstanceLock&) = delete;
    CSingleInstanceLock& operator=(const CSingleInstanceLock&) = delete;

    State GetState() const { return m_state; }
    const std::filesystem::path& Path() const { return m_path; }
    // Why a Failed lock could not be had, as a short English phrase.
    const std::string& Problem() const { return m_problem; }

    // "Global\ObsidianAIO QZB" -> "qzb-Global_ObsidianAIO_QZB.lock"
    static std::string LockFileName(std::string_view lockName);
    // The one folder every logon of the machine shares: $QZB_LOCK_DIR when set (tests and
    // parallel runs keep apart with it), else /tmp. Never the per-user $TMPDIR.
    static std::filesystem::path MachineLockFolder();

private:
    std::filesystem::path m_path;
    std::string m_problem;
    int m_fd = -1;
    State m_state = State::Failed;
};

} // namespace qzb
