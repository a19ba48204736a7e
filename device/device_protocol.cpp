#include "device/device_protocol.h"

#include "app/app_context.h"
#include "app/messenger.h"
#include "device/device_commands.h"
#include "device/device_link.h"
#include "machine/image_decoder.h"
#include "machine/image_encoder.h"
#include "model/image_layout.h"
#include "model/item_table.h"
#include "model/machine_image.h"

#include <thread>

namespace qzb {

namespace {

constexpr std::uint32_t kCountryId = 0x10600;

void PutLe(std::vector<std::uint8_t>& bytes, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i) {
        bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

MessageCode StatusResult(std::uint8_t status)
{
    switch (status) {
        case kStatusOperating:
            return kMsgMachineOperating;
        case kStatusTimeOut:
            return kMsgTimeOut;
        case kStatusProblem:
            return kMsgMachineProblem;
        default:
            return kOk; // ready, and every other value
    }
}

// Ends an exchange however the function leaves.
class CExchange
{
public:
    explicit CExchange(CDeviceLink& link)
        : m_link(link)
    {
        m_link.BeginExchange();
    }
    ~CExchange() { m_link.EndExchange(); }
    CExchange(const CExchange&) = delete;
    CExchange& operator=(const CExchange&) = delete;

private:
    CDeviceLink& m_link;
};

} // namespace

struct CDeviceProtocol::CStagedDownload
{
    CValueStore store;
    CDeviceData device;
};

std::vector<std::uint32_t> FirstDownloadRequest()
{
    std::vector<std::uint32_t> ids;
    ids.reserve(473);
    for (std::uint32_t id = kFirstFavouriteId; id < kFirstFavouriteId + 20; ++id) {
        ids.push_back(id);
    }
    for (std::uint32_t id = kFirstFaxMailId; id <= kLastFaxMailId; ++id) {
        ids.push_back(id);
    }
    for (std::uint32_t id = kFirstGroupId; id < kFirstGroupId + 20; ++id) {
        ids.push_back(id);
    }
    for (const CItemRow& row : ItemTable()) {
        ids.push_back(row.parameterId);
    }
    return ids;
}

std::vector<std::uint32_t> SecondDownloadRequest()
{
    std::vector<std::uint32_t> ids;
    ids.reserve(129);
    for (std::uint32_t id = kFirstScanId; id <= kLastScanId; ++id) {
        ids.push_back(id);
    }
    for (std::uint32_t id : CounterSlotIds()) {
        ids.push_back(id);
    }
    for (const CDeviceInfoRow& row : DeviceInfoRows()) {
        ids.push_back(row.parameterId);
    }
    ids.push_back(kDeviceFlagId);
    ids.push_back(kOptionsBlockId);
    return ids;
}

CDeviceProtocol::CDeviceProtocol(CDeviceLink& link,
                                 CAppContext& context,
                                 CMessenger& messenger,
                                 CProtocolTimings timings)
    : m_link(link)
    , m_context(context)
    , m_messenger(messenger)
    , m_timings(timings)
{
    InstallSenseHooks();
}

CDeviceProtocol::~CDeviceProtocol()
{
    m_link.CloseDevice();
    m_link.SetSenseHooks({});
}

void CDeviceProtocol::SetFailureReport(std::function<void(MessageCode)> report)
{
    m_failureReport = std::move(report);
    InstallSenseHooks();
}

void CDeviceProtocol::InstallSenseHooks()
{
    CSenseHooks hooks;
    hooks.statusQuery = [this] { return StatusQuery(); };
    hooks.reportFailure = [this](MessageCode code) {
        if (m_failureReport) {
            m_failureReport(code);
        }
    };
    hooks.isMessageBoxOpen = [this] { return m_messenger.IsMessageBoxOpen(); };
    hooks.endSession = [this] { EndSessionCommand(); };
    m_link.SetSenseHooks(std::move(hooks));
}

void CDeviceProtocol::Pause(std::chrono::milliseconds duration, std::string_view stepKey)
{
    if (duration.count() <= 0) {
        return;
    }
    if (m_progress) {
        m_progress(KeyedText(std::string(stepKey)));
    }
    std::this_thread::sleep_for(duration);
}

MessageCode CDeviceProtocol::SendCommand(std::uint32_t command, std::span<const std::uint8_t> body)
{
    std::vector<std::uint8_t> header;
    PutLe(header, command);
    PutLe(header, static_cast<std::uint32_t>(body.size()));
    if (const MessageCode code = m_link.WritePipe(header); code != kOk) {
        return code;
    }
    return m_link.WritePipe(body);
}

MessageCode CDeviceProtocol::SendControl(std::uint32_t subCommand)
{
    std::vector<std::uint8_t> body;
    PutLe(body, subCommand);
    PutLe(body, 0);
    return SendCommand(kCommandControl, body);
}

MessageCode CDeviceProtocol::SendReadRequest(const std::vector<std::uint32_t>& ids)
{
    std::vector<std::uint8_t> body;
    body.reserve(ids.size() * 8);
    for (std::uint32_t id : ids) {
        PutLe(body, id);
        PutLe(body, 0);
    }
    return SendCommand(kCommandReadRequest, body);
}

MessageCode CDeviceProtocol::ReadExactly(std::span<std::uint8_t> buffer)
{
    std::size_t got = 0;
    while (got < buffer.size()) {
        const CTransferResult result = m_link.ReadPipe(buffer.subspan(got));
        if (result.code != kOk) {
            return result.code;
        }
        if (result.bytes == 0) {
            return kMsgConnectCut; // a device that answers nothing has stopped answering
        }
        got += result.bytes;
    }
    return kOk;
}

MessageCode CDeviceProtocol::ReadAnswer(std::vector<std::uint8_t>& body)
{
    std::uint8_t header[kMessageHeaderSize] = {};
    if (const MessageCode code = ReadExactly(header); code != kOk) {
        return code;
    }
    const std::uint32_t length = ReadLe(std::span<const std::uint8_t>(header + 4, 4));
    // A wild length would have the utility wait for bytes that never come.
    if (length > kMaxAnswerBytes) {
        return kMsgConnectionErr;
    }
    body.assign(length, 0);
    return ReadExactly(body);
}

MessageCode CDeviceProtocol::StatusQuery()
{
    CExchange exchange(m_link);
    if (const MessageCode code = SendControl(kControlStatus); code != kOk) {
        return code;
    }
    std::uint8_t header[kMessageHeaderSize] = {};
    const CTransferResult first = m_link.ReadPipe(header);
    if (first.code != kOk || first.bytes == 0) {
        return first.code;
    }
    if (first.bytes < sizeof(header)) {
        if (const MessageCode code = ReadExactly(std::span(header).subspan(first.bytes)); code != kOk) {
            return code;
        }
    }
    const std::uint32_t length = ReadLe(std::span<const std::uint8_t>(header + 4, 4));
    if (length == 0) {
        return kOk;
    }
    if (length > kMaxAnswerBytes) {
        return kMsgConnectionErr;
    }
    // The status byte lies in the part up to the write packet size; the rest is read and
    // dropped so that it does not stand in the pipe for the next exchange.
    const std::size_t capped = std::min<std::size_t>(length, std::max<std::uint16_t>(m_link.WritePacketSize(), 1));
    std::vector<std::uint8_t> answer(capped, 0);
    if (const MessageCode code = ReadExactly(answer); code != kOk) {
        return code;
    }
    if (length > capped) {
        std::vector<std::uint8_t> rest(length - capped, 0);
        if (const MessageCode code = ReadExactly(rest); code != kOk) {
            return code;
        }
        return StatusResult(rest.back());
    }
    return StatusResult(answer.back());
}

MessageCode CDeviceProtocol::StartSession()
{
    if (const MessageCode code = m_link.OpenDevice(); code == kMsgMachineOperating) {
        return code;
    }
    if (const MessageCode code = StatusQuery(); code != kOk && code != kMsgTimeOut) {
        return code;
    }
    if (const MessageCode code = SendControl(kControlSessionStart); code != kOk) {
        return code;
    }
    m_link.SetSessionOpen(true);
    m_link.CreateTransferGate();
    m_link.StartSenseThread();
    m_link.SetPause(false);
    m_link.SignalTransferGate();
    return kOk;
}

MessageCode CDeviceProtocol::EndSessionCommand()
{
    if (!m_link.IsSessionOpen()) {
        return kOk;
    }
    const MessageCode status = StatusQuery();
    if (status == kOk || status == kMsgTimeOut || status == kMsgMachineProblem) {
        CExchange exchange(m_link);
        const MessageCode code = SendControl(kControlSessionEnd);
        if (code == kOk || code == kMsgConnectCut || code == kMsgTimeOut || code == kMsgConnectUsb) {
            m_link.SetSessionOpen(false);
        }
    }
    // Whatever the device said, the session counts as ended from here on.
    m_link.SetSessionOpen(false);
    return status;
}

MessageCode CDeviceProtocol::EndSession()
{
    const MessageCode result = EndSessionCommand();
    m_link.CloseDevice();
    return result;
}

MessageCode CDeviceProtocol::DownloadHalf(const std::vector<std::uint32_t>& ids, bool first, CStagedDownload& staged)
{
    if (SendReadRequest(ids) != kOk) {
        return kMsgConnectionErr;
    }
    std::vector<std::uint8_t> image;
    if (ReadAnswer(image) != kOk) {
        return kMsgConnectionErr;
    }
    // A malformed answer must not spread half an image over the store and the directory.
    if (!IsWellFormedImage(image)) {
        return kMsgConnectionErr;
    }
    CAddressBook& book = staged.device.book;
    if (first) {
        book.ClearFaxMailGroupsAndFavourites();
    } else {
        book.ClearScanEntries();
    }
    const CStringTable& strings = m_context.strings;
    const TextLookup text = [&strings](std::string_view key) {
        const std::u16string* found = strings.Find(key);
        return found ? *found : std::u16string();
    };
    return DecodeMachineImage(staged.device, staged.store, image, text) == kOk ? kOk : kMsgConnectionErr;
}

MessageCode CDeviceProtocol::Download()
{
    return DownloadInto(m_context.store, m_context.device);
}

MessageCode CDeviceProtocol::DownloadInto(CValueStore& store, CDeviceData& device)
{
    if (!m_link.IsSessionOpen()) {
        return kMsgConnectCut;
    }
    if (const MessageCode code = StatusQuery(); code != kOk) {
        return code;
    }
    CExchange exchange(m_link);
    // Both halves decode into a copy that replaces the window's data only when the second half
    // has arrived too: a download cut half way must not leave one half of the device's data over
    // the other half of the old data, which an upload would then write back as one.
    CStagedDownload staged{store, device};
    if (m_progress) {
        m_progress(KeyedText("STR_PROGRESS_DOWNLOAD_FIRST"));
    }
    if (const MessageCode code = DownloadHalf(FirstDownloadRequest(), true, staged); code != kOk) {
        return code;
    }
    Pause(m_timings.afterDownloadHalf, "STR_PROGRESS_WAIT");
    if (m_progress) {
        m_progress(KeyedText("STR_PROGRESS_DOWNLOAD_SECOND"));
    }
    if (const MessageCode code = DownloadHalf(SecondDownloadRequest(), false, staged); code != kOk) {
        return code;
    }
    Pause(m_timings.afterDownloadHalf, "STR_PROGRESS_WAIT");
    store = std::move(staged.store);
    device = std::move(staged.device);
    return kOk;
}

MessageCode CDeviceProtocol::Upload(bool serviceMan)
{
    if (!m_link.IsSessionOpen()) {
        return kMsgConnectCut;
    }
    if (const MessageCode code = StatusQuery(); code != kOk) {
        return code;
    }
    CExchange exchange(m_link);
    CEncodeOptions options;
    options.mode = EncodeMode::Upload;
    options.serviceMan = serviceMan;
    const std::vector<std::uint8_t> image = EncodeMachineImage(m_context.device, m_context.store, options);
    if (m_progress) {
        m_progress(KeyedText("STR_PROGRESS_UPLOAD"));
    }
    if (SendCommand(kCommandWriteImage, image) != kOk) {
        return kMsgConnectionErr;
    }
    Pause(m_timings.afterUpload, "STR_PROGRESS_WAIT_UPLOAD");
    return kOk;
}

MessageCode CDeviceProtocol::CountryCheck()
{
    if (!m_link.IsSessionOpen()) {
        return kMsgConnectCut;
    }
    if (const MessageCode code = StatusQuery(); code != kOk) {
        return code;
    }
    CExchange exchange(m_link);
    std::vector<std::uint8_t> answer;
    if (SendReadRequest({kCountryId, kOptionsBlockId}) != kOk || ReadAnswer(answer) != kOk) {
        return kMsgConnectionErr;
    }
    // A walk that stops at a damaged entry could miss the country and let the upload through.
    if (!IsWellFormedImage(answer)) {
        return kMsgConnectionErr;
    }
    MessageCode result = kOk;
    CDeviceData& device = m_context.device;
    CImageReader reader(answer);
    CImageEntry entry;
    while (reader.Next(entry)) {
        if (entry.id == kCountryId) {
            const auto country = static_cast<std::int32_t>(ReadLe(entry.data));
            if (country != m_context.store.GetItemNumber("USER_SET_DLG", "USER_FAX_PTT_SET")) {
                result = kMsgInvalidPttUploadErr;
            }
        } else if (entry.id == kOptionsBlockId && entry.data.size() == kOptionsBlockSize) {
            device.deviceHasTray2 = entry.data[1] == 2 || entry.data[1] == 3;
            device.deviceHasTray3 = entry.data[1] == 3;
            device.deviceHasDuplex = ReadLe(entry.data.subspan(4, 4)) == 1;
        }
    }
    Pause(m_timings.afterCountryCheck, "STR_PROGRESS_WAIT");
    return result;
}

MessageCode CDeviceProtocol::DoDeviceOperation(std::uint32_t operation, std::uint32_t stateWord)
{
    return RunPaused([this, operation, stateWord] { return RunOperation(operation, stateWord); });
}

MessageCode CDeviceProtocol::ReadDeviceState(CValueStore& store, CDeviceData& device)
{
    return RunPaused([this, &store, &device] { return DownloadInto(store, device); });
}

MessageCode CDeviceProtocol::RunPaused(const std::function<MessageCode()>& work)
{
    m_link.SetPause(true);
    while (m_link.Words().pollInProgress.Get()) {
        std::this_thread::sleep_for(m_timings.pollWait);
    }
    MessageCode result = work();
    if (result == kMsgConnectCut || result == kMsgTimeOut || result == kMsgMachineProblem) {
        m_messenger.ShowMessage(result);
        EndSession();
        m_link.SetSessionOpen(false);
        result = kMsgAlreadyReported;
    }
    m_link.SetPause(false);
    return result;
}

MessageCode CDeviceProtocol::RunOperation(std::uint32_t operation, std::uint32_t stateWord)
{
    MessageCode result = kOk;
    switch (operation) {
        case kOperationConnect:
            result = StartSession();
            break;
        case kOperationDisconnect:
            result = EndSession();
            break;
        case kOperationUpload: {
            const bool serviceMan = (stateWord & kStateServiceMan) != 0;
            result = serviceMan ? CountryCheck() : kOk;
            if (result == kOk) {
                result = Upload(serviceMan);
            }
            break;
        }
        case kOperationDownload:
            result = Download();
            break;
        case kOperationNone:
        default:
            break;
    }
    return result;
}

} // namespace qzb
