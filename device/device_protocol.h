#pragma once

#include "base/keyed_text.h"
#include "base/message_codes.h"
#include "base/window_state.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <span>
#include <string_view>
#include <vector>

namespace qzb {

class CDeviceLink;
class CValueStore;
struct CDeviceData;
class CMessenger;
struct CAppContext;

// The main window's command ids, which the transfer driver takes as its operation codes.
inline constexpr std::uint32_t kOperationConnect = 0x800B;
inline constexpr std::uint32_t kOperationDisconnect = 0x800C;
inline constexpr std::uint32_t kOperationNone = 0x800D;
inline constexpr std::uint32_t kOperationUpload = 0x800E;
inline constexpr std::uint32_t kOperationDownload = 0x800F;

// The pauses the device is owed; tests and the simulator's fast mode shorten them.
struct CProtocolTimings
{
    std::chrono::milliseconds afterDownloadHalf{1000};
    std::chrono::milliseconds afterCountryCheck{1000};
    std::chrono::milliseconds afterUpload{5000};
    std::chrono::milliseconds pollWait{10};

    static CProtocolTimings Fast()
    {
        return {std::chrono::milliseconds(0),
                std::chrono::milliseconds(0),
                std::chrono::milliseconds(0),
                std::chrono::milliseconds(1)};
    }
};

// Parameter ids of the two read requests of a download, in the order the device expects them.
std::vector<std::uint32_t> FirstDownloadRequest();
std::vector<std::uint32_t> SecondDownloadRequest();

// What the utility says to the device: the session, the status, the download in two halves, the
// upload and the country check, and the transfer driver that runs one of them for the window.
class CDeviceProtocol
{
public:
    CDeviceProtocol(CDeviceLink& link, CAppContext& context, CMessenger& messenger, CProtocolTimings timings = {});
    ~CDeviceProtocol();
    CDeviceProtocol(const CDeviceProtocol&) = delete;
    CDeviceProtocol& operator=(const CDeviceProtocol&) = delete;

    MessageCode StatusQuery();
    MessageCode StartSession();
    MessageCode EndSession();
    MessageCode Download();
    // A download into the given store and device data instead of the context's; they are
    // replaced only when both halves have arrived.
    MessageCode DownloadInto(CValueStore& store, CDeviceData& device);
    MessageCode Upload(bool serviceMan);
    MessageCode CountryCheck();

    // Runs one operation with the sense thread paused. Results 0x80010001, 0x80010004 and
    // 0x80010005 are shown once here, the session is ended, and 0x80010007 is returned.
    MessageCode DoDeviceOperation(std::uint32_t operation, std::uint32_t stateWord);
    // A download into a copy, run as DoDeviceOperation runs a download: what the device holds
    // now, read without changing the data being edited.
    MessageCode ReadDeviceState(CValueStore& store, CDeviceData& device);

    // Told each step of a long operation (the first half of a download, a pause ...) as its text
    // key, for progress feedback; called on the thread that runs the operation.
    void SetProgress(std::function<void(const CKeyedText&)> progress) { m_progress = std::move(progress); }
    // The sense thread's failures; the window turns them into its connection message.
    void SetFailureReport(std::function<void(MessageCode)> report);

private:
    MessageCode SendCommand(std::uint32_t command, std::span<const std::uint8_t> body);
    MessageCode SendControl(std::uint32_t subCommand);
    MessageCode SendReadRequest(const std::vector<std::uint32_t>& ids);
    // Reads exactly buffer.size() bytes, however the device splits them.
    MessageCode ReadExactly(std::span<std::uint8_t> buffer);
    // Reads an answer header and its whole body.
    MessageCode ReadAnswer(std::vector<std::uint8_t>& body);
    MessageCode EndSessionCommand();
    // What a download decodes into until both halves have arrived.
    struct CStagedDownload;
    MessageCode DownloadHalf(const std::vector<std::uint32_t>& ids, bool first, CStagedDownload& staged);
    void Pause(std::chrono::milliseconds duration, std::string_view stepKey);
    void InstallSenseHooks();
    MessageCode RunPaused(const std::function<MessageCode()>& work);
    MessageCode RunOperation(std::uint32_t operation, std::uint32_t stateWord);

    CDeviceLink& m_link;
    CAppContext& m_context;
    CMessenger& m_messenger;
    CProtocolTimings m_timings;
    std::function<void(const CKeyedText&)> m_progress;
    std::function<void(MessageCode)> m_failureReport;
};

} // namespace qzb
