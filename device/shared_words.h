#pragma once

#include <mutex>

namespace qzb {

// A word that two threads share, behind a lock of its own.
template <typename T>
class CLockedValue
{
public:
    explicit CLockedValue(T initial = T{})
        : m_value(initial)
    {
    }
    CLockedValue(const CLockedValue&) = delete;
    CLockedValue& operator=(const CLockedValue&) = delete;

    T Get() const
    {
        std::lock_guard lock(m_mutex);
        return m_value;
    }
    void Set(T value)
    {
        std::lock_guard lock(m_mutex);
        m_value = value;
    }
    // Adds delta and returns the new value.
    T Add(T delta)
    {
        std::lock_guard lock(m_mutex);
        m_value += delta;
        return m_value;
    }

private:
    mutable std::mutex m_mutex;
    T m_value;
};

// Words of the application that the user-interface thread, the transfer driver and the sense
// thread all look at.
struct CApplicationWords
{
    // Set while the sense thread asks the device's status; the transfer driver waits for it to clear.
    CLockedValue<bool> pollInProgress;
    // Set while the main window closes, so that the sense thread reports nothing more.
    CLockedValue<bool> stopRequested;
};

} // namespace qzb
