#include "device/device_simulator.h"

#include "app/model_profile.h"
#include "device/device_commands.h"
#include "files/dat_file.h"
#include "model/machine_image.h"

#include <algorithm>
#include <cstdio>
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

struct CDeviceSimulator::CUnit
{
    CUnit(std::int32_t modelCode, std::optional<std::filesystem::path> file)
        : device(modelCode)
        , backingFile(std::move(file))
    {
    }
    CSimulatedDevice device;
    std::optional<std::filesystem::path> backingFile;
    MessageCode backingResult = kOk;
};

CDeviceSimulator::CDeviceSimulator(std::int32_t modelCode,
                                   std::uint16_t vendorId,
                                   std::optional<std::filesystem::path> backingFile)
    : m_vendorId(vendorId)
{
    AddUnit(modelCode, std::move(backingFile));
}

CDeviceSimulator::CDeviceSimulator(std::int32_t modelCode,
                                   std::uint16_t vendorId,
                                   const std::vector<std::filesystem::path>& files)
    : m_vendorId(vendorId)
{
    for (const std::filesystem::path& file : files) {
        AddUnit(modelCode, file);
    }
    if (m_units.empty()) {
        AddUnit(modelCode, std::nullopt);
    }
}

CDeviceSimulator::~CDeviceSimulator() = default;

void CDeviceSimulator::AddUnit(std::int32_t modelCode, std::optional<std::filesystem::path> backingFile)
{
    auto unit = std::make_unique<CUnit>(DeviceModel(modelCode, backingFile), std::move(backingFile));
    if (unit->backingFile) {
        std::error_code error;
        if (std::filesystem::exists(*unit->backingFile, error)) {
            unit->backingResult = unit->device.LoadDat(*unit->backingFile);
        } else if (!unit->device.SaveDat(*unit->backingFile)) {
            unit->backingResult = kMsgWriteFileError;
        }
    }
    m_units.push_back(std::move(unit));
}

CSimulatedDevice& CDeviceSimulator::Device()
{
    return m_units[m_current]->device;
}

CSimulatedDevice& CDeviceSimulator::Device(std::size_t index)
{
    return m_units[index]->device;
}

void CDeviceSimulator::SetFaults(const CSimulatorFaults& faults)
{
    for (const auto& unit : m_units) {
        unit->device.Faults() = faults;
    }
}

MessageCode CDeviceSimulator::BackingFileResult() const
{
    for (const auto& unit : m_units) {
        if (unit->backingResult != kOk) {
            return unit->backingResult;
        }
    }
    return kOk;
}

std::optional<std::filesystem::path> CDeviceSimulator::FailedBackingFile() const
{
    for (const auto& unit : m_units) {
        if (unit->backingResult != kOk) {
            return unit->backingFile;
        }
    }
    return std::nullopt;
}

MessageCode CDeviceSimulator::ListDevices(std::uint16_t, std::vector<CUsbCandidate>& devices)
{
    for (std::size_t i = 0; i < m_units.size(); ++i) {
        const CUnit& unit = *m_units[i];
        CUsbCandidate candidate;
        candidate.identifier = "simulated device";
        if (m_units.size() > 1) {
            char number[24];
            std::snprintf(number, sizeof number, " %zu", i + 1);
            candidate.identifier.append(number);
            candidate.serialNumber = unit.backingFile->stem().string();
        }
        candidate.busNumber = 0;
        candidate.deviceAddress = static_cast<std::uint8_t>(i + 1);
        candidate.description = "TARVO QZB simulated device";
        candidate.vendorId = m_vendorId;
        candidate.productId = static_cast<std::uint16_t>(unit.device.ModelCode());
        candidate.interfaceNumber = 0;
        candidate.pipes = {CUsbPipe{0x03, kPacketSize, UsbPipeType::Bulk},
                           CUsbPipe{0x84, kPacketSize, UsbPipeType::Bulk}};
        devices.push_back(candidate);
    }
    return kOk;
}

CTransferResult CDeviceSimulator::ControlIn(const CUsbCandidate& device,
                                            const CControlRequest& request,
                                            std::span<std::uint8_t> buffer,
                                            std::chrono::milliseconds)
{
    if (request.request != kBusyRequest) {
        return {kMsgConnectCut, 0};
    }
    if (device.deviceAddress == 0 || device.deviceAddress > m_units.size()) {
        return {kMsgConnectCut, 0};
    }
    const std::vector<std::uint8_t> answer = m_units[device.deviceAddress - 1u]->device.BusyAnswer();
    const std::size_t count = std::min(answer.size(), buffer.size());
    std::memcpy(buffer.data(), answer.data(), count);
    return {kOk, count};
}

UsbAccess CDeviceSimulator::OpenPipes(const CUsbCandidate& device, std::uint8_t, std::uint8_t)
{
    if (device.deviceAddress == 0 || device.deviceAddress > m_units.size()) {
        return UsbAccess::Failed;
    }
    m_current = device.deviceAddress - 1u;
    m_open = true;
    m_cut = false;
    m_movedThisConnection = 0;
    Device().ResetPipes();
    return UsbAccess::Granted;
}

std::size_t CDeviceSimulator::Allowance(std::size_t count) const
{
    const CSimulatorFaults& faults = m_units[m_current]->device.Faults();
    if (!faults.cutAfter) {
        return count;
    }
    const std::size_t limit = *faults.cutAfter;
    return m_movedThisConnection >= limit ? 0 : std::min(count, limit - m_movedThisConnection);
}

void CDeviceSimulator::Cut()
{
    m_cut = true;
    // The connection stays broken until the next open; only that one is cut unless every one is.
    if (!Faults().cutEveryConnection) {
        Faults().cutAfter.reset();
    }
}

CTransferResult CDeviceSimulator::Write(std::span<const std::uint8_t> bytes, std::chrono::milliseconds)
{
    if (!m_open || m_cut) {
        return {kMsgConnectCut, 0};
    }
    const std::size_t allowed = Allowance(bytes.size());
    CUnit& unit = *m_units[m_current];
    const std::size_t uploads = unit.device.UploadCount();
    unit.device.Receive(bytes.first(allowed));
    m_moved += allowed;
    m_movedThisConnection += allowed;
    if (unit.backingFile && unit.device.UploadCount() != uploads && !unit.device.SaveDat(*unit.backingFile)) {
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
    const std::size_t count = Device().Send(buffer.first(allowed));
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

bool IsSimulatorFileUsable(const std::filesystem::path& file)
{
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(file, error);
    return status.type() == std::filesystem::file_type::not_found ||
           status.type() == std::filesystem::file_type::regular;
}

} // namespace qzb
