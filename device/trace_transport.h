#pragma once

#include "device/transport.h"

#include <chrono>
#include <mutex>
#include <ostream>

namespace qzb {

// Passes everything on to another transport and writes each exchange to a stream: direction,
// length, result and the bytes in hexadecimal. For diagnosing a device in the field (--trace FILE).
class CTraceTransport : public ITransport
{
public:
    CTraceTransport(ITransport& inner, std::ostream& out);

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
    void Line(const std::string& text);
    void Transfer(const char* direction, std::size_t asked, const CTransferResult& result, const std::uint8_t* bytes);

    ITransport& m_inner;
    std::ostream& m_out;
    std::mutex m_mutex; // the sense thread and the window's thread both trace
    std::chrono::steady_clock::time_point m_start;
};

// "02 03 00 00" lines of 32 bytes, each line starting with its offset.
std::string HexDump(std::span<const std::uint8_t> bytes);

} // namespace qzb
