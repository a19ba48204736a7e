#include "device/transfer_gate.h"

namespace qzb {

void CTransferGate::Create()
{
    std::lock_guard lock(m_mutex);
    m_exists = true;
    m_signalled = false;
    m_owner = {};
    m_transferCount.Set(0);
}

void CTransferGate::Destroy()
{
    {
        std::lock_guard lock(m_mutex);
        m_exists = false;
        m_signalled = false;
        m_owner = {};
        m_transferCount.Set(0);
    }
    m_changed.notify_all();
}

bool CTransferGate::Exists() const
{
    std::lock_guard lock(m_mutex);
    return m_exists;
}

void CTransferGate::Signal()
{
    {
        std::lock_guard lock(m_mutex);
        if (!m_exists || m_transferCount.Get() != 0) {
            return;
        }
        m_signalled = true;
    }
    m_changed.notify_all();
}

void CTransferGate::BeginExchange()
{
    const std::thread::id self = std::this_thread::get_id();
    std::unique_lock lock(m_mutex);
    if (!m_exists) {
        return;
    }
    // The wait gives the lock up, so the thread that holds the gate can always end its exchange.
    // Checking and closing the gate under one lock lets only one waiter through when it opens.
    const auto open = [&] { return !m_exists || m_signalled || m_owner == self; };
    if (!open()) {
        ++m_waiting;
        m_changed.wait(lock, open);
        --m_waiting;
    }
    if (!m_exists) {
        return;
    }
    if (m_transferCount.Get() == 0) {
        m_signalled = false;
        m_owner = self;
    }
    m_transferCount.Add(1);
}

void CTransferGate::EndExchange()
{
    {
        std::lock_guard lock(m_mutex);
        if (!m_exists || m_transferCount.Get() == 0) {
            return;
        }
        if (m_transferCount.Add(-1) != 0) {
            return;
        }
        m_signalled = true;
        m_owner = {};
    }
    m_changed.notify_all();
}

int CTransferGate::WaitingExchanges() const
{
    std::lock_guard lock(m_mutex);
    return m_waiting;
}

bool CTransferGate::WaitUntilOpen(const std::function<bool()>& stop)
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [&] { return !m_exists || m_signalled || stop(); });
    return !stop();
}

void CTransferGate::Wake()
{
    {
        std::lock_guard lock(m_mutex);
    }
    m_changed.notify_all();
}

} // namespace qzb
