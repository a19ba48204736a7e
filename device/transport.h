#pragma once

#include "base/message_codes.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace qzb {

// The driver-failure result (-1) of the device link: enumeration failed or the device did not answer
// its vendor request.
inline constexpr MessageCode kMsgDriverFailure = 0xFFFFFFFFu;

enum class UsbPipeType : std::uint8_t { Control, Isochronous, Bulk, Interrupt };

// One record of a device's pipe configuration.
struct CUsbPipe
{
    std::uint8_t endpointAddress = 0; // bit 7 set: device to host
    std::uint16_t maxPacketSize = 0;
    UsbPipeType type = UsbPipeType::Bulk;

    std::uint8_t EndpointNumber() const { return endpointAddress & 0x0F; }
    bool IsIn() const { return (endpointAddress & 0x80) != 0; }
};

// What the transport may do with a device.
enum class UsbAccess : std::uint8_t {
    Granted,
    Denied, // the user lacks permission on the device node
    Held, // another program has claimed the interface
    Failed, // gone, or refused for another reason
};

// A present device of the vendor as the transport sees it before anything is opened.
struct CUsbCandidate
{
    std::string identifier; // unique while the device stays plugged in, e.g. "bus 001 device 004"
    std::string deviceNode; // e.g. "/dev/bus/usb/001/004"; empty when the transport has none
    std::uint8_t busNumber = 0;
    std::uint8_t deviceAddress = 0;
    std::string description; // manufacturer and product strings; empty when they could not be read
    std::string serialNumber; // the serial number string; empty when the device has none or it could not be read
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    int interfaceNumber = -1; // the interface that owns the pipes below
    int alternateSetting = 0;
    std::vector<CUsbPipe> pipes;
    UsbAccess access = UsbAccess::Granted;
};

struct CTransferResult
{
    MessageCode code = kOk;
    std::size_t bytes = 0;
};

// A control request on the default pipe; only device-to-host requests are needed.
struct CControlRequest
{
    std::uint8_t requestType = 0;
    std::uint8_t request = 0;
    std::uint16_t value = 0;
    std::uint16_t index = 0;
};

// How the device link reaches a device: list, ask, open two bulk pipes, move bytes, close.
// A transfer that fails or runs out of time answers kMsgConnectCut with the bytes moved so far.
// Only one device is open at a time; Write and Read use the pipes of the last OpenPipes.
class ITransport
{
public:
    virtual ~ITransport() = default;

    // Present devices of vendorId (devices of other vendors may be left out unopened). A failure
    // code means no list could be had.
    virtual MessageCode ListDevices(std::uint16_t vendorId, std::vector<CUsbCandidate>& devices) = 0;

    // A device-to-host control request to a listed device that is not open.
    virtual CTransferResult ControlIn(const CUsbCandidate& device,
                                      const CControlRequest& request,
                                      std::span<std::uint8_t> buffer,
                                      std::chrono::milliseconds timeout) = 0;

    // Opens the bulk pipes of a listed device; an endpoint address of 0 leaves that pipe closed.
    virtual UsbAccess OpenPipes(const CUsbCandidate& device, std::uint8_t writeEndpoint, std::uint8_t readEndpoint) = 0;

    virtual CTransferResult Write(std::span<const std::uint8_t> bytes, std::chrono::milliseconds timeout) = 0;
    virtual CTransferResult Read(std::span<std::uint8_t> buffer, std::chrono::milliseconds timeout) = 0;

    // Releases the open device; harmless when none is open.
    virtual void Close() = 0;
};

} // namespace qzb
