#include "device/device_simulator.h"

#include "device/device_commands.h"

#include <algorithm>
#include <cstring>

namespace qzb {

CDeviceSimulator::CDeviceSimulator(std::int32_t modelCode,
                                   std::uint16_t vendorId,
                                   std::optional<std::filesystem::path> backingFile)
    : m_device(modelCode)
    , m_vendorId(vendorId)
    , m_backingFile(std::move(backingFile))
{
    if (!m_backingFile) {
        return;
    }
    std::error_code error;
    if (std::filesystem::exists(*m_backingFile, error)) {
        m_backingResult = m_device.LoadDat(*m_backingFile);
    } else if (!m_device.SaveDat(*m_backingFile)) {
        m_backingResult = kMsgWriteFileError;
    }
}

MessageCode CDeviceSimulator::ListDevices(std::uint16_t, std::vector<CUsbCandidate>& devices)
{
    CUsbCandidate candidate;
    candidate.identifier = "simulated device";
    candidate.description = "TARVO QZB simulated device";
    candidate.vendorId = m_vendorId;
    candidate.productId = static_cast<std::uint16_t>(m_device.ModelCode());
    candidate.interfaceNumber = 0;
    candidate.pipes = {CUsbPipe{0x03, kPacketSize, UsbPipeType::Bulk}, CUsbPipe{0x84, kPacketSize, UsbPipeType::Bulk}};
    devices.push_back(candidate);
    return kOk;
}

CTransferResult CDeviceSimulator::ControlIn(const CUsbCandidate&,
                                            const CControlRequest& request,
                                            std::span<std::uint8_t> buffer,
                                            std::chrono::milliseconds)
{
    if (request.request != kBusyRequest) {
        return {kMsgConnectCut, 0};
    }
    const std::vector<std::uint8_t> answer = m_device.BusyAnswer();
    const std::size_t count = std::min(answer.size(), buffer.size());
    std::memcpy(buffer.data(), answer.data(), count);
    return {kOk, count};
}

UsbAccess CDeviceSimulator::OpenPipes(const CUsbCandidate&, std::uint8_t, std::uint8_t)
{
    m_open = true;
    return UsbAccess::Granted;
}

std::size_t CDeviceSimulator::Allowance(std::size_t count) const
{
    if (!m_device.Faults().cutAfter) {
        return count;
    }
    const std::size_t limit = *m_device.Faults().cutAfter;
    return m_moved >= limit ? 0 : std::min(count, limit - m_moved);
}

CTransferResult CDeviceSimulator::Write(std::span<const std::uint8_t> bytes, std::chrono::milliseconds)
{
    if (!m_open || m_cut) {
        return {kMsgConnectCut, 0};
    }
    const std::size_t allowed = Allowance(bytes.size());
    const std::size_t uploads = m_device.UploadCount();
    m_device.Receive(bytes.first(allowed));
    m_moved += allowed;
    if (m_backingFile && m_device.UploadCount() != uploads) {
        m_device.SaveDat(*m_backingFile);
    }
    if (allowed < bytes.size()) {
        m_cut = true;
        return {kMsgConnectCut, allowed};
    }
    return {kOk, allowed};
}

CTransferResult CDeviceSimulator::Read(std::span<std::uint8_t> buffer, std::chrono::milliseconds)
{
    if (!m_open || m_cut) {
        return {kMsgConnectCut, 0};
    }
    const std::size_t allowed = Allowance(buffer.size());
    const std::size_t count = m_device.Send(buffer.first(allowed));
    m_moved += count;
    if (count == 0) {
        // Nothing to answer: a real device would let the read run out of time.
        if (allowed == 0 && !buffer.empty()) {
            m_cut = true;
        }
        return {kMsgConnectCut, 0};
    }
    return {kOk, count};
}

void CDeviceSimulator::Close()
{
    m_open = false;
}

} // namespace qzb
