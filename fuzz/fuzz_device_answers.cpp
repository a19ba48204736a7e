// A device whose every answer comes from the fuzzer: the devices listed (ids, strings, pipes,
// access), the idle check's answer, the result of every write and each read's bytes. The transfer
// driver runs a connect, downloads, uploads and a disconnect over it, as the window would. Nothing
// may crash or hang; the diagnosis is always told in words; a failed download leaves the window's
// data as it was, and a disconnect always ends the session.
#include "app/app_context.h"
#include "app/messenger.h"
#include "app/rendered_text.h"
#include "base/window_state.h"
#include "device/device_diagnosis.h"
#include "device/device_link.h"
#include "device/device_protocol.h"
#include "device/model_detection.h"
#include "device/transport.h"
#include "fuzz_checks.h"
#include "fuzz_session.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

namespace {

using namespace qzb;
constexpr std::uint16_t kVendor = 0x0B49;

// Plays the device from the fuzzer's bytes. Answers are either raw bytes or framed as the device
// frames them ({u32, u32 length} and the body), so that whole downloads are within reach.
class CScriptedTransport : public ITransport
{
public:
    explicit CScriptedTransport(FuzzedDataProvider& input)
        : m_input(input)
    {
    }

    MessageCode ListDevices(std::uint16_t, std::vector<CUsbCandidate>& devices) override
    {
        if (m_input.ConsumeIntegralInRange(0, 15) == 0) {
            return kMsgDriverFailure;
        }
        devices = m_devices;
        return kOk;
    }
    CTransferResult ControlIn(const CUsbCandidate&,
                              const CControlRequest&,
                              std::span<std::uint8_t> buffer,
                              std::chrono::milliseconds) override
    {
        const std::vector<std::uint8_t> answer =
            m_input.ConsumeBool() ? std::vector<std::uint8_t>{0, 0} : m_input.ConsumeBytes<std::uint8_t>(4);
        const std::size_t count = std::min(answer.size(), buffer.size());
        std::copy_n(answer.begin(), count, buffer.begin());
        return {m_input.ConsumeIntegralInRange(0, 7) == 0 ? kMsgConnectCut : kOk, count};
    }
    UsbAccess OpenPipes(const CUsbCandidate&, std::uint8_t, std::uint8_t) override
    {
        return m_input.ConsumeIntegralInRange(0, 7) == 0 ? static_cast<UsbAccess>(m_input.ConsumeIntegralInRange(1, 3))
                                                         : UsbAccess::Granted;
    }
    CTransferResult Write(std::span<const std::uint8_t> bytes, std::chrono::milliseconds) override
    {
        switch (m_input.ConsumeIntegralInRange(0, 31)) {
            case 0:
                return {kMsgConnectCut, 0};
            case 1:
                return {kOk, bytes.size() / 2};
            case 2:
                return {kMsgTimeOut, 0};
            default:
                return {kOk, bytes.size()};
        }
    }
    CTransferResult Read(std::span<std::uint8_t> buffer, std::chrono::milliseconds) override
    {
        if (m_pending.empty() && !NextAnswer()) {
            return {kMsgConnectCut, 0};
        }
        const std::size_t count = std::min({m_pending.size(), buffer.size(), m_split});
        std::copy_n(m_pending.begin(), count, buffer.begin());
        m_pending.erase(m_pending.begin(), m_pending.begin() + static_cast<std::ptrdiff_t>(count));
        return {kOk, count};
    }
    void Close() override { m_pending.clear(); }

    std::vector<CUsbCandidate> m_devices;
    std::size_t m_split = 512;

private:
    // Queues the next answer; false when the fuzzer's bytes are spent.
    bool NextAnswer()
    {
        if (m_input.remaining_bytes() == 0) {
            return false;
        }
        const std::uint8_t kind = m_input.ConsumeIntegral<std::uint8_t>();
        std::vector<std::uint8_t> body;
        if (kind < 64) { // raw bytes, whatever they say
            body = m_input.ConsumeBytes<std::uint8_t>(m_input.ConsumeIntegral<std::uint8_t>());
            m_pending.insert(m_pending.end(), body.begin(), body.end());
            return !m_pending.empty();
        }
        if (kind < 128) { // a status answer ending in the status byte
            body.assign(m_input.ConsumeIntegralInRange<std::size_t>(0, 600), 0);
            if (!body.empty()) {
                body.back() = m_input.ConsumeIntegralInRange<std::uint8_t>(0, 8);
            }
        } else { // a framed body of any length
            body = m_input.ConsumeBytes<std::uint8_t>(m_input.ConsumeIntegral<std::uint16_t>());
        }
        const auto length = static_cast<std::uint32_t>(body.size());
        const std::uint8_t header[8] = {0,
                                        0,
                                        0,
                                        0,
                                        static_cast<std::uint8_t>(length),
                                        static_cast<std::uint8_t>(length >> 8),
                                        static_cast<std::uint8_t>(length >> 16),
                                        static_cast<std::uint8_t>(length >> 24)};
        m_pending.insert(m_pending.end(), std::begin(header), std::end(header));
        m_pending.insert(m_pending.end(), body.begin(), body.end());
        return true;
    }

    FuzzedDataProvider& m_input;
    std::deque<std::uint8_t> m_pending;
};

CUsbCandidate Candidate(FuzzedDataProvider& input, std::size_t index)
{
    constexpr std::uint16_t kProducts[] = {2152, 8313, 8314, 8315, 8329};
    CUsbCandidate device;
    device.busNumber = 1;
    device.deviceAddress = static_cast<std::uint8_t>(index + 2);
    device.identifier = "bus 001 device " + std::to_string(device.deviceAddress);
    device.deviceNode = input.ConsumeBool() ? "/dev/bus/usb/001/00" + std::to_string(device.deviceAddress) : "";
    device.vendorId = input.ConsumeIntegralInRange(0, 7) == 0 ? input.ConsumeIntegral<std::uint16_t>() : kVendor;
    device.productId = input.ConsumeIntegralInRange(0, 7) == 0 ? input.ConsumeIntegral<std::uint16_t>()
                                                               : input.PickValueInArray(kProducts);
    device.description = input.ConsumeBool() ? "TARVO MFP" : input.ConsumeRandomLengthString(40);
    device.serialNumber = input.ConsumeRandomLengthString(20);
    device.interfaceNumber = input.ConsumeIntegralInRange(-1, 2);
    device.alternateSetting = input.ConsumeIntegralInRange(0, 1);
    if (input.ConsumeBool()) {
        device.pipes = {{0x03, 512, UsbPipeType::Bulk}, {0x84, 512, UsbPipeType::Bulk}};
    } else {
        for (std::size_t n = input.ConsumeIntegralInRange(0, 4); n > 0; --n) {
            device.pipes.push_back({input.ConsumeIntegral<std::uint8_t>(),
                                    input.ConsumeIntegral<std::uint16_t>(),
                                    static_cast<UsbPipeType>(input.ConsumeIntegralInRange(0, 3))});
        }
    }
    device.access = static_cast<UsbAccess>(input.ConsumeIntegralInRange(0, 3));
    return device;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static CFuzzWindow window(2152);
    window.Reset();
    CAppContext& context = window.context;

    FuzzedDataProvider input(data, size);
    CScriptedTransport transport(input);
    for (std::size_t n = input.ConsumeIntegralInRange(0, 3), i = 0; i < n; ++i) {
        transport.m_devices.push_back(Candidate(input, i));
    }
    transport.m_split = input.ConsumeIntegralInRange<std::size_t>(1, 1024);

    CDeviceLinkConfig config = QuietLinkConfig();
    config.vendorId = kVendor;
    config.deviceSelector = input.ConsumeIntegralInRange(0, 7) == 0 ? input.ConsumeRandomLengthString(12) : "";
    const CModelSearch search = DetectModel(transport.m_devices, config);
    Require(search.devices.size() <= transport.m_devices.size(), "a search found more devices than listed");
    Require((search.result == ModelDetection::NoDevice) == search.devices.empty(), "the search's result");

    CApplicationWords words;
    CDeviceLink link(transport, context, words, config);
    CDeviceProtocol protocol(link, context, window.messenger, CProtocolTimings::Fast());
    constexpr std::uint32_t kOperations[] = {
        kOperationConnect, kOperationDownload, kOperationUpload, kOperationDisconnect, kOperationNone};
    bool changed = false; // a download succeeded: the data may differ from the pristine copy from here on
    for (int step = 0; step < 6 && input.remaining_bytes() > 0; ++step) {
        const std::uint32_t operation = input.PickValueInArray(kOperations);
        const std::uint32_t state = input.ConsumeBool() ? kStateServiceMan : 0;
        const MessageCode code = protocol.DoDeviceOperation(operation, state);
        if (operation == kOperationConnect) {
            Require(!RenderTextUtf8(DescribeDiagnosis(link.LastDiagnosis()), nullptr).empty(),
                    "a diagnosis without words");
        }
        if (operation == kOperationDownload) {
            changed = changed || code == kOk;
            Require(changed || window.Unchanged(), "a failed download changed the data");
            if (code == kOk) {
                RequireBookRules(context.device.book);
            }
        }
        if (operation == kOperationDisconnect) {
            Require(!link.IsSessionOpen() && !link.IsOpen(), "a disconnect left the session open");
        }
    }
    protocol.DoDeviceOperation(kOperationDisconnect, 0);
    Require(!link.IsSessionOpen() && !link.IsSenseThreadRunning(), "the session outlived its disconnect");
    return 0;
}
