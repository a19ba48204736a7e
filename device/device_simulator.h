#pragma once

#include "device/simulated_device.h"
#include "device/transport.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

namespace qzb {

// A simulated device keeps its memory in a regular file, made when missing. Anything else at the
// path (a FIFO, a device node, a folder) would block or fail the start, so it is refused.
bool IsSimulatorFileUsable(const std::filesystem::path& file);

// Devices without hardware behind the same transport as the USB backend: one, or one for each
// backing file, on bus 0 at addresses 1, 2 ... A device's memory can live in a DAT file that it
// reads when it is made and writes back after every upload, so that an upload from one process is
// seen by the next. A device is of the model its file's header names; without a file, of the
// running model. With several files each device's serial number is its file's name without the
// extension.
class CDeviceSimulator : public ITransport
{
public:
    CDeviceSimulator(std::int32_t modelCode,
                     std::uint16_t vendorId,
                     std::optional<std::filesystem::path> backingFile = std::nullopt);
    CDeviceSimulator(std::int32_t modelCode, std::uint16_t vendorId, const std::vector<std::filesystem::path>& files);
    ~CDeviceSimulator() override;

    std::size_t DeviceCount() const { return m_units.size(); }
    // The device last opened, the first one before any.
    CSimulatedDevice& Device();
    CSimulatedDevice& Device(std::size_t index);
    CSimulatorFaults& Faults() { return Device().Faults(); }
    // The same faults for every device.
    void SetFaults(const CSimulatorFaults& faults);
    // The result of reading the backing files: the first failure, 0 when every one was read or made.
    MessageCode BackingFileResult() const;
    // The file that failed to be read, when one did.
    std::optional<std::filesystem::path> FailedBackingFile() const;
    // 0x80020031 once saving a memory after an upload has failed.
    MessageCode SaveResult() const { return m_saveResult; }
    std::size_t BytesMoved() const { return m_moved; }

    MessageCode ListDevices(std::uint16_t vendorId, std::vector<CUsbCandidate>& devices) override;
    CTransferResult ControlIn(const CUsbCandidate& device,
                              const CControlRequest& request,
                              std::span<std::uint8_t> buffer,
                              std::chrono::milliseconds timeout) override;
    UsbAccess OpenPipes(const CUsbCandidate& device, std::uint8_t writeEndpoint, std::uint8_t readEndpoint) override;
    CTransferResult Write(std::span<const std::uint8_t> bytes, std::chrono::milliseconds timeout) override;
    CTransferResult Read(std::span<std::uint8_t> buffer, std::chrono::milliseconds timeout) override;
    void Close() override;

    static constexpr std::uint16_t kPacketSize = 512;

private:
    // How many of count bytes may still move before an injected cut.
    std::size_t Allowance(std::size_t count) const;
    void Cut();

    struct CUnit;
    void AddUnit(std::int32_t modelCode, std::optional<std::filesystem::path> backingFile);

    std::vector<std::unique_ptr<CUnit>> m_units;
    std::size_t m_current = 0;
    std::uint16_t m_vendorId;
    MessageCode m_saveResult = kOk;
    bool m_open = false;
    bool m_cut = false;
    std::size_t m_moved = 0;
    std::size_t m_movedThisConnection = 0;
};

} // namespace qzb
