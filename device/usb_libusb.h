#pragma once

#include "device/transport.h"

#include <memory>

namespace qzb {

// The transport over libusb-1.0. Only devices of the asked vendor are opened, and of those only the
// interface that carries bulk OUT endpoint 3 and bulk IN endpoint 4 is claimed; a kernel driver
// bound to it is detached for the time of the claim and bound again on close.
class CUsbTransport : public ITransport
{
public:
    CUsbTransport();
    ~CUsbTransport() override;
    CUsbTransport(const CUsbTransport&) = delete;
    CUsbTransport& operator=(const CUsbTransport&) = delete;

    // False when libusb could not start; listing then fails.
    bool IsAvailable() const;

    MessageCode ListDevices(std::uint16_t vendorId, std::vector<CUsbCandidate>& devices) override;
    CTransferResult ControlIn(const CUsbCandidate& device,
                              const CControlRequest& request,
                              std::span<std::uint8_t> buffer,
                              std::chrono::milliseconds timeout) override;
    UsbAccess OpenPipes(const CUsbCandidate& device, std::uint8_t writeEndpoint, std::uint8_t readEndpoint) override;
    CTransferResult Write(std::span<const std::uint8_t> bytes, std::chrono::milliseconds timeout) override;
    CTransferResult Read(std::span<std::uint8_t> buffer, std::chrono::milliseconds timeout) override;
    void Close() override;

private:
    struct CState;
    std::unique_ptr<CState> m_state;
};

} // namespace qzb
