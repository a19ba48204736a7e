#include "device/device_simulator.h"

#include "app/model_profile.h"
#include "device/device_commands.h"
#include "files/dat_file.h"
#include "model/machine_image.h"

#include <algorithm>
#include <cstring>
#include <fstream>

namespace qzb {

namespace {

// The model whose memory a backing file holds: the one its header names when the magic is the
// one that model writes, else the running model (and the file is refused when it is read).
std::int32_t DeviceModel(std::int32_t runningModel, const std::optional<std::filesystem::path>& backingFile)
{
    if (!backingFile) {
        return runningModel;
    }
    std::ifstream in(*backingFile, std::ios::binary);
    std::uint8_t header[kDatHeaderSize] = {};
    if (!in.read(reinterpret_cast<char*>(header), sizeof(header))) {
        return runningModel;
    }
    const auto model = static_cast<std::int32_t>(ReadLe(std::span<const std::uint8_t>(header + kDatMagicSize, 4)));
    const std::string_view magic = DatMagicFor(model);
    if (!IsKnownModel(model) || !std::equal(magic.begin(), magic.end(), header)) {
        return runningModel;
    }
    return model;
}

} // namespace

CDeviceSimulator::CDeviceSimulator(std::int32_t modelCode,
                                   std::uint16_t vendorId,
                                   std::optional<std::filesystem::path> backingFile)
    : m_device(DeviceModel(modelCode, backingFile))
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
    m_cut = false;
    m_movedThisConnection = 0;
    m_device.ResetPipes();
    return UsbAccess::Granted;
}

std::size_t CDeviceSimulator::Allowance(std::size_t count) const
{
    if (!m_device.Faults().cutAfter) {
        return count;
    }
    const std::size_t limit = *m_device.Faults().cutAfter;
    return m_movedThisConnection >= limit ? 0 : std::min(count, limit - m_movedThisConnection);
}

void CDeviceSimulator::Cut()
{
    m_cut = true;
    // The connection stays broken until the next open; only that one is cut unless every one is.
    if (!m_device.Faults().cutEveryConnection) {
        m_device.Faults().cutAfter.reset();
    }
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
    m_movedThisConnection += allowed;
    if (m_backingFile && m_device.UploadCount() != uploads && !m_device.SaveDat(*m_backingFile)) {
        m_saveResult = kMsgWriteFileError;
    }
    if (allowed < bytes.size()) {
        Cut();
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
    m_movedThisConnection += count;
    if (count == 0) {
        // Nothing to answer: a real device would let the read run out of time.
        if (allowed == 0 && !buffer.empty()) {
            Cut();
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
