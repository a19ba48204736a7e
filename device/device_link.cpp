#include "device/device_link.h"

#include "app/app_context.h"
#include "app/model_profile.h"
#include "app/single_instance.h"

#include <algorithm>
#include <array>
#include <cstdio>

#ifndef QZB_USB_VENDOR_ID
#define QZB_USB_VENDOR_ID 0x0B49
#endif

namespace qzb {

namespace {

// The busy check: vendor request 0x0C, device to host, vendor type, interface recipient.
constexpr CControlRequest kIdleCheck{0xC1, 0x0C, 0, 0};
constexpr std::size_t kIdleAnswerSize = 1024;
constexpr std::uint8_t kWriteEndpointNumber = 3;
constexpr std::uint8_t kReadEndpointNumber = 4;
// A read may take longer than the base limit by 1 ms for every 256 bytes asked for.
constexpr std::size_t kBytesPerExtraMillisecond = 256;

// Findings of the search that do not end it, by weight: the strongest one is what the user hears.
int Weight(DeviceFinding finding)
{
    switch (finding) {
        case DeviceFinding::HeldByOtherProgram:
            return 5;
        case DeviceFinding::NoPermission:
            return 4;
        case DeviceFinding::OtherModel:
            return 3;
        case DeviceFinding::Failure:
            return 2;
        default:
            return 0;
    }
}

// A decimal number of 0-255 filling the whole text.
std::optional<std::uint8_t> ParseByte(std::string_view text)
{
    if (text.empty() || text.size() > 3) {
        return std::nullopt;
    }
    unsigned value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    return value <= 255 ? std::optional(static_cast<std::uint8_t>(value)) : std::nullopt;
}

} // namespace

std::string DeviceLockName(const CUsbCandidate& device)
{
    char name[32];
    std::snprintf(name, sizeof name, "usb-%03u-%03u", unsigned{device.busNumber}, unsigned{device.deviceAddress});
    return name;
}

bool MatchesDeviceSelector(const CUsbCandidate& device, std::string_view selector)
{
    if (selector.empty()) {
        return true;
    }
    const std::size_t colon = selector.find(':');
    if (colon != std::string_view::npos) {
        const auto bus = ParseByte(selector.substr(0, colon));
        const auto address = ParseByte(selector.substr(colon + 1));
        if (bus && address) {
            return device.busNumber == *bus && device.deviceAddress == *address;
        }
    }
    return !device.serialNumber.empty() && device.serialNumber == selector;
}

std::uint16_t DefaultUsbVendorId()
{
    return static_cast<std::uint16_t>(QZB_USB_VENDOR_ID);
}

std::optional<std::uint16_t> ParseUsbId(std::string_view text)
{
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
    }
    if (text.empty() || text.size() > 4) {
        return std::nullopt;
    }
    std::uint16_t value = 0;
    for (char c : text) {
        int digit = 0;
        if (c >= '0' && c <= '9') {
            digit = c - '0';
        } else if (c >= 'a' && c <= 'f') {
            digit = c - 'a' + 10;
        } else if (c >= 'A' && c <= 'F') {
            digit = c - 'A' + 10;
        } else {
            return std::nullopt;
        }
        value = static_cast<std::uint16_t>(value * 16 + digit);
    }
    return value;
}

struct CDeviceLink::CSearch
{
    CDeviceDiagnosis diagnosis;

    void Note(DeviceFinding finding, const CUsbCandidate& device)
    {
        if (Weight(finding) <= Weight(diagnosis.finding)) {
            return;
        }
        diagnosis.finding = finding;
        diagnosis.deviceNode = device.deviceNode.empty() ? device.identifier : device.deviceNode;
        diagnosis.description = device.description;
        diagnosis.productId = device.productId;
    }
};

CDeviceLink::CDeviceLink(ITransport& transport,
                         CAppContext& context,
                         CApplicationWords& words,
                         CDeviceLinkConfig config)
    : m_transport(transport)
    , m_context(context)
    , m_words(words)
    , m_config(std::move(config))
{
}

CDeviceLink::~CDeviceLink()
{
    // Whoever would send the session end may already be gone.
    m_hooks.endSession = nullptr;
    CloseDevice();
    if (m_senseThread.joinable()) {
        m_senseThread.join();
    }
}

MessageCode CDeviceLink::OpenDevice()
{
    CloseDevice();

    CSearch search;
    search.diagnosis.modelCode = m_context.modelCode;
    search.diagnosis.vendorId = m_config.vendorId;
    search.diagnosis.selector = m_config.deviceSelector;
    m_diagnosis = search.diagnosis;

    std::vector<CUsbCandidate> devices;
    if (m_transport.ListDevices(m_config.vendorId, devices) != kOk) {
        m_diagnosis.finding = DeviceFinding::Failure;
        return kOk;
    }
    const auto hasWord = [this](const CUsbCandidate& device) {
        return device.description.find(m_config.descriptionWord) != std::string::npos;
    };
    // A device whose strings could not be read for want of permission may still be ours.
    for (const CUsbCandidate& device : devices) {
        if (device.access == UsbAccess::Denied && device.vendorId == m_config.vendorId &&
            MatchesDeviceSelector(device, m_config.deviceSelector) && IsKnownModel(device.productId)) {
            search.Note(DeviceFinding::NoPermission, device);
        }
    }

    MessageCode result = kOk;
    for (const CUsbCandidate& device : devices) {
        if (!hasWord(device) || !MatchesDeviceSelector(device, m_config.deviceSelector)) {
            continue;
        }
        if (TryCandidate(device, search, result)) {
            return result;
        }
    }
    m_diagnosis = search.diagnosis;
    return kOk;
}

bool CDeviceLink::TryCandidate(const CUsbCandidate& device, CSearch& search, MessageCode& result)
{
    if (device.vendorId != m_config.vendorId || device.productId != m_context.modelCode) {
        if (device.vendorId == m_config.vendorId) {
            search.Note(DeviceFinding::OtherModel, device);
        }
        return false;
    }
    m_context.modelBit = FindModelProfile(device.productId).modelBit;

    CDeviceDiagnosis found = search.diagnosis;
    found.deviceNode = device.deviceNode.empty() ? device.identifier : device.deviceNode;
    found.description = device.description;
    found.productId = device.productId;

    std::unique_ptr<CSingleInstanceLock> lock;
    if (m_config.lockDevice) {
        // Every logon meets the same device, so its lock lives where every logon looks.
        const std::filesystem::path folder =
            m_config.lockFolder.empty() ? CSingleInstanceLock::MachineLockFolder() : m_config.lockFolder;
        lock = std::make_unique<CSingleInstanceLock>(DeviceLockName(device), folder);
        if (lock->GetState() == CSingleInstanceLock::State::HeldElsewhere) {
            found.finding = DeviceFinding::HeldByOtherProgram;
            m_diagnosis = found;
            result = kMsgMachineOperating;
            return true;
        }
        // A lock file that cannot be made only costs the protection; the device is still usable.
    }

    std::array<std::uint8_t, kIdleAnswerSize> answer{};
    const CTransferResult busy = m_transport.ControlIn(device, kIdleCheck, answer, m_config.controlTimeout);
    if (busy.code != kOk || busy.bytes == 0) {
        found.finding = DeviceFinding::Failure;
        m_diagnosis = found;
        result = kMsgDriverFailure;
        return true;
    }
    if (answer[0] != 0 || answer[1] != 0) {
        found.finding = DeviceFinding::Busy;
        m_diagnosis = found;
        result = kMsgMachineOperating;
        return true;
    }

    const CUsbPipe* writePipe = nullptr;
    const CUsbPipe* readPipe = nullptr;
    for (const CUsbPipe& pipe : device.pipes) {
        if (!writePipe && pipe.EndpointNumber() == kWriteEndpointNumber && !pipe.IsIn()) {
            writePipe = &pipe;
        } else if (!readPipe && pipe.EndpointNumber() == kReadEndpointNumber && pipe.IsIn()) {
            readPipe = &pipe;
        }
    }
    if (!writePipe && !readPipe) {
        search.Note(DeviceFinding::Failure, device);
        return false;
    }
    const UsbAccess access = m_transport.OpenPipes(
        device, writePipe ? writePipe->endpointAddress : 0, readPipe ? readPipe->endpointAddress : 0);
    if (access != UsbAccess::Granted) {
        search.Note(access == UsbAccess::Denied ? DeviceFinding::NoPermission
                    : access == UsbAccess::Held ? DeviceFinding::HeldByOtherProgram
                                                : DeviceFinding::Failure,
                    device);
        return false;
    }
    m_writePipeOpen = writePipe != nullptr;
    m_readPipeOpen = readPipe != nullptr;
    m_writePacketSize = writePipe ? writePipe->maxPacketSize : 0;
    m_readPacketSize = readPipe ? readPipe->maxPacketSize : 0;
    m_deviceLock = std::move(lock);
    m_context.modelCode = device.productId;
    found.finding = DeviceFinding::Opened;
    m_diagnosis = found;
    result = kOk;
    return true;
}

void CDeviceLink::CloseDevice()
{
    if (m_closing) {
        return;
    }
    m_closing = true;
    if (m_sessionOpen.Get() && m_hooks.endSession) {
        m_hooks.endSession();
    }
    m_sessionOpen.Set(false);
    StopSenseThread();
    m_gate.Destroy();
    if (IsOpen()) {
        m_transport.Close();
    }
    m_writePipeOpen = false;
    m_readPipeOpen = false;
    m_deviceLock.reset();
    m_closing = false;
}

std::chrono::milliseconds CDeviceLink::TimeoutFor(std::size_t bytes) const
{
    return m_config.transferTimeout + std::chrono::milliseconds(bytes / kBytesPerExtraMillisecond);
}

MessageCode CDeviceLink::WritePipe(std::span<const std::uint8_t> bytes)
{
    if (!m_writePipeOpen) {
        return kMsgConnectUsb;
    }
    if (bytes.data() == nullptr && !bytes.empty()) {
        return kMsgConnectionErr;
    }
    const std::size_t pieceSize = m_writePacketSize != 0 ? m_writePacketSize : bytes.size();
    std::size_t offset = 0;
    do {
        const std::size_t count = std::min(pieceSize, bytes.size() - offset);
        const CTransferResult written = m_transport.Write(bytes.subspan(offset, count), TimeoutFor(count));
        if (written.code != kOk) {
            return written.code;
        }
        if (written.bytes != count) {
            return kMsgConnectCut;
        }
        offset += count;
    } while (offset < bytes.size());
    return kOk;
}

CTransferResult CDeviceLink::ReadPipe(std::span<std::uint8_t> buffer)
{
    if (!m_readPipeOpen) {
        return {kMsgConnectUsb, 0};
    }
    if (buffer.data() == nullptr && !buffer.empty()) {
        return {kMsgConnectionErr, 0};
    }
    CTransferResult read = m_transport.Read(buffer, TimeoutFor(buffer.size()));
    read.bytes = std::min(read.bytes, buffer.size());
    return read;
}

void CDeviceLink::SetSenseHooks(CSenseHooks hooks)
{
    m_hooks = std::move(hooks);
}

void CDeviceLink::StartSenseThread()
{
    if (m_senseRunning.load()) {
        return;
    }
    if (m_senseThread.joinable()) {
        m_senseThread.join();
    }
    m_senseStop.store(false);
    m_senseRunning.store(true);
    m_senseThread = std::thread(&CDeviceLink::SenseThreadBody, this);
}

void CDeviceLink::StopSenseThread()
{
    {
        std::lock_guard lock(m_senseMutex);
        m_senseStop.store(true);
    }
    m_senseWake.notify_all();
    m_gate.Wake();
    // From inside the thread's own report it cannot wait for itself; it ends right after.
    if (m_senseThread.joinable() && m_senseThread.get_id() != std::this_thread::get_id()) {
        m_senseThread.join();
    }
}

void CDeviceLink::SenseThreadBody()
{
    const auto stop = [this] { return SenseStopRequested(); };
    while (m_sessionOpen.Get() && !stop()) {
        // A period passes before each poll: the session start has just asked the status itself.
        {
            std::unique_lock lock(m_senseMutex);
            if (m_senseWake.wait_for(lock, m_config.sensePeriod, stop)) {
                break;
            }
        }
        if (!m_sessionOpen.Get()) {
            break;
        }
        const bool boxOpen = m_hooks.isMessageBoxOpen && m_hooks.isMessageBoxOpen();
        if (!boxOpen && m_gate.TransferCount() == 0 && !m_pause.Get()) {
            m_words.pollInProgress.Set(true);
            // The transfer driver raises pause before it looks at poll-in-progress; looking at
            // pause again after raising ours means one of the two always sees the other.
            if (m_pause.Get()) {
                m_words.pollInProgress.Set(false);
            } else if (!m_gate.WaitUntilOpen(stop)) {
                m_words.pollInProgress.Set(false);
                break;
            } else {
                const MessageCode status = m_hooks.statusQuery ? m_hooks.statusQuery() : kOk;
                if (status != kOk) {
                    const bool closing = m_words.stopRequested.Get();
                    if (closing && status == kMsgTimeOut) {
                        m_sessionOpen.Set(false);
                    }
                    // The poll is over either way; left raised, it would hold the transfer driver
                    // in its wait for good when the window handles a command before this report.
                    m_words.pollInProgress.Set(false);
                    if (!closing && m_hooks.reportFailure) {
                        m_hooks.reportFailure(status);
                    }
                    break;
                }
                m_words.pollInProgress.Set(false);
            }
        }
        m_senseRounds.fetch_add(1);
    }
    m_senseRunning.store(false);
}

} // namespace qzb
