#pragma once

#include "device/shared_words.h"

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace qzb {

// The transfer gate of a device session: open while no exchange runs, so that the sense thread's
// status poll and the commands of the user-interface thread never share the pipes. Exchanges of one
// thread may nest; the gate opens again when the outermost one ends. Without a gate (no session)
// exchanges pass freely and are not counted.
class CTransferGate
{
public:
    // A new gate is closed until Signal: the session start finishes before anyone polls.
    void Create();
    // Wakes every waiter; exchanges pass freely from here on.
    void Destroy();
    bool Exists() const;
    // Opens the gate when no exchange runs.
    void Signal();

    void BeginExchange();
    void EndExchange();

    // Waits until the gate is open, it is destroyed or stop() answers true (checked whenever Wake
    // is called). False when it gave up for stop().
    bool WaitUntilOpen(const std::function<bool()>& stop);
    void Wake();

    // Exchanges in progress, nesting included.
    int TransferCount() const { return m_transferCount.Get(); }
    // Threads held at the shut gate in BeginExchange: lets a caller see a waiter is really held.
    int WaitingExchanges() const;

private:
    mutable std::mutex m_mutex; // guards the gate; taken before the count's own lock
    std::condition_variable m_changed;
    bool m_exists = false;
    bool m_signalled = false;
    std::thread::id m_owner;
    int m_waiting = 0;
    CLockedValue<int> m_transferCount;
};

} // namespace qzb
