#pragma once

#include "device/simulated_device.h"
#include "device/transport.h"

#include <filesystem>
#include <optional>

namespace qzb {

// A device without hardware: one candidate behind the same transport as the USB backend. Its
// memory can live in a DAT file that it reads when it is made and writes back after every upload,
// so that an upload from one process is seen by the next. The device is of the model that file's
// header names; without a file, of the running model.
class CDeviceSimulator : public ITransport
{
public:
    CDeviceSimulator(std::int32_t modelCode,
                     std::uint16_t vendorId,
                     std::optional<std::filesystem::path> backingFile = std::nullopt);

    CSimulatedDevice& Device() { return m_device; }
    CSimulatorFaults& Faults() { return m_device.Faults(); }
    // The result of reading the backing file (0 when there is none or it was made anew).
    MessageCode BackingFileResult() const { return m_backingResult; }
    // 0x80020031 once saving the memory after an upload has failed.
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

    CSimulatedDevice m_device;
    std::uint16_t m_vendorId;
    std::optional<std::filesystem::path> m_backingFile;
    MessageCode m_backingResult = kOk;
    MessageCode m_saveResult = kOk;
    bool m_open = false;
    bool m_cut = false;
    std::size_t m_moved = 0;
    std::size_t m_movedThisConnection = 0;
};

} // namespace qzb
