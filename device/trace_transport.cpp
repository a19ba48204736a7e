#include "device/trace_transport.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace qzb {

namespace {

constexpr std::size_t kBytesPerLine = 32;

std::string Hex(unsigned value, int width)
{
    char text[16];
    std::snprintf(text, sizeof text, "%0*x", width, value);
    return text;
}

std::string CodeText(MessageCode code)
{
    return code == kOk ? std::string("ok") : "0x" + Hex(code, 8);
}

const char* AccessText(UsbAccess access)
{
    switch (access) {
        case UsbAccess::Granted:
            return "granted";
        case UsbAccess::Denied:
            return "permission denied";
        case UsbAccess::Held:
            return "held by another program";
        case UsbAccess::Failed:
            break;
    }
    return "failed";
}

} // namespace

std::string HexDump(std::span<const std::uint8_t> bytes)
{
    std::string text;
    for (std::size_t offset = 0; offset < bytes.size(); offset += kBytesPerLine) {
        text += "  " + Hex(static_cast<unsigned>(offset), 6) + ":";
        const std::size_t end = std::min(bytes.size(), offset + kBytesPerLine);
        for (std::size_t i = offset; i < end; ++i) {
            text += ' ' + Hex(bytes[i], 2);
        }
        text += '\n';
    }
    return text;
}

CTraceTransport::CTraceTransport(ITransport& inner, std::ostream& out)
    : m_inner(inner)
    , m_out(out)
    , m_start(std::chrono::steady_clock::now())
{
}

void CTraceTransport::Line(const std::string& text)
{
    const auto elapsed =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - m_start).count();
    char stamp[32];
    std::snprintf(stamp,
                  sizeof stamp,
                  "%8lld.%03lld ",
                  static_cast<long long>(elapsed / 1000),
                  static_cast<long long>(elapsed % 1000));
    std::lock_guard lock(m_mutex);
    m_out << stamp << text;
    // A device that hangs the program is exactly when the trace is wanted: nothing stays buffered.
    m_out.flush();
}

void CTraceTransport::Transfer(const char* direction,
                               std::size_t asked,
                               const CTransferResult& result,
                               const std::uint8_t* bytes)
{
    std::string text = std::string(direction) + " " + std::to_string(asked) + " asked, " +
                       std::to_string(result.bytes) + " moved, " + CodeText(result.code) + "\n";
    text += HexDump({bytes, std::min(result.bytes, asked)});
    Line(text);
}

MessageCode CTraceTransport::ListDevices(std::uint16_t vendorId, std::vector<CUsbCandidate>& devices)
{
    const MessageCode code = m_inner.ListDevices(vendorId, devices);
    std::string text = "LIST vendor " + Hex(vendorId, 4) + ": " + CodeText(code) + ", " +
                       std::to_string(devices.size()) + " device(s)\n";
    for (const CUsbCandidate& device : devices) {
        text += "  " + device.identifier + " " + Hex(device.vendorId, 4) + ":" + Hex(device.productId, 4) + " \"" +
                device.description + "\" " + AccessText(device.access) + ", interface " +
                std::to_string(device.interfaceNumber) + ", endpoints";
        for (const CUsbPipe& pipe : device.pipes) {
            text += ' ';
            text += Hex(pipe.endpointAddress, 2);
            text += '/';
            text += std::to_string(pipe.maxPacketSize);
        }
        text += '\n';
    }
    Line(text);
    return code;
}

CTransferResult CTraceTransport::ControlIn(const CUsbCandidate& device,
                                           const CControlRequest& request,
                                           std::span<std::uint8_t> buffer,
                                           std::chrono::milliseconds timeout)
{
    const CTransferResult result = m_inner.ControlIn(device, request, buffer, timeout);
    const std::string direction = "CONTROL " + device.identifier + " type " + Hex(request.requestType, 2) +
                                  " request " + Hex(request.request, 2) + " value " + Hex(request.value, 4) +
                                  " index " + Hex(request.index, 4) + ",";
    Transfer(direction.c_str(), buffer.size(), result, buffer.data());
    return result;
}

UsbAccess CTraceTransport::OpenPipes(const CUsbCandidate& device, std::uint8_t writeEndpoint, std::uint8_t readEndpoint)
{
    const UsbAccess access = m_inner.OpenPipes(device, writeEndpoint, readEndpoint);
    Line("OPEN " + device.identifier + " write endpoint " + Hex(writeEndpoint, 2) + " read endpoint " +
         Hex(readEndpoint, 2) + ": " + AccessText(access) + "\n");
    return access;
}

// Only the bytes that actually moved are dumped, so a short or refused transfer shows as such.
CTransferResult CTraceTransport::Write(std::span<const std::uint8_t> bytes, std::chrono::milliseconds timeout)
{
    const CTransferResult result = m_inner.Write(bytes, timeout);
    Transfer("OUT", bytes.size(), result, bytes.data());
    return result;
}

CTransferResult CTraceTransport::Read(std::span<std::uint8_t> buffer, std::chrono::milliseconds timeout)
{
    const CTransferResult result = m_inner.Read(buffer, timeout);
    Transfer("IN", buffer.size(), result, buffer.data());
    return result;
}

void CTraceTransport::Close()
{
    m_inner.Close();
    Line("CLOSE\n");
}

} // namespace qzb
