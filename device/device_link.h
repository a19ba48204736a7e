#pragma once

#include "base/message_codes.h"
#include "device/device_diagnosis.h"
#include "device/shared_words.h"
#include "device/transfer_gate.h"
#include "device/transport.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <thread>

namespace qzb {

struct CAppContext;
class CSingleInstanceLock;

// The vendor id of the build (CMake cache variable QZB_USB_VENDOR_ID).
std::uint16_t DefaultUsbVendorId();
// "0x0B49", "0b49" or "B49": a 16-bit id written in hexadecimal.
std::optional<std::uint16_t> ParseUsbId(std::string_view text);

// Whether the device is the one a --device choice names: "BUS:ADDRESS" in decimal, else its serial number.
bool MatchesDeviceSelector(const CUsbCandidate& device, std::string_view selector);
// The lock file name of a device: "usb-BBB-AAA" for its bus and address.
std::string DeviceLockName(const CUsbCandidate& device);

struct CDeviceLinkConfig
{
    std::uint16_t vendorId = DefaultUsbVendorId();
    // Looked for in the manufacturer and product strings.
    std::string descriptionWord = "TARVO";
    std::chrono::milliseconds sensePeriod{1000};
    // The time limit of every pipe transfer; reads get longer in proportion to their size.
    std::chrono::milliseconds transferTimeout{5000};
    std::chrono::milliseconds controlTimeout{5000};
    // "BUS:ADDRESS" (decimal) or a serial number: only that device is opened. Empty: the first that fits.
    std::string deviceSelector;
    // A per-device lock file keeps two programs from talking to one device at once.
    bool lockDevice = true;
    std::filesystem::path lockFolder; // empty: the machine-wide lock folder
};

// What the sense thread needs from the layers above it.
struct CSenseHooks
{
    // The device's status through the transfer protocol: 0 when ready.
    std::function<MessageCode()> statusQuery;
    // Called on the sense thread with a failed status; must only hand it on to the window's thread
    // (the link must not be closed from inside it).
    std::function<void(MessageCode)> reportFailure;
    // True while a catalogue message box is open.
    std::function<bool()> isMessageBoxOpen;
    // Sends the session end; CloseDevice calls it when a session is still open.
    std::function<void()> endSession;
};

// The device link: finds the device of the running model, opens its two bulk pipes, moves bytes
// over them with a time limit, and watches the device with the sense thread while a session is
// open. The transfer protocol drives the session; this class never says anything over the pipes
// by itself.
class CDeviceLink
{
public:
    CDeviceLink(ITransport& transport, CAppContext& context, CApplicationWords& words, CDeviceLinkConfig config = {});
    ~CDeviceLink();
    CDeviceLink(const CDeviceLink&) = delete;
    CDeviceLink& operator=(const CDeviceLink&) = delete;

    // 0 when the device is open or none was found (IsOpen tells which), kMsgMachineOperating when
    // it is operating or held by another program, kMsgDriverFailure when its busy check failed.
    // LastDiagnosis says why in plain words.
    MessageCode OpenDevice();
    void CloseDevice();
    bool IsOpen() const { return m_writePipeOpen || m_readPipeOpen; }
    bool IsWritePipeOpen() const { return m_writePipeOpen; }
    bool IsReadPipeOpen() const { return m_readPipeOpen; }
    std::uint16_t WritePacketSize() const { return m_writePacketSize; }
    std::uint16_t ReadPacketSize() const { return m_readPacketSize; }
    const CDeviceDiagnosis& LastDiagnosis() const { return m_diagnosis; }
    const CDeviceLinkConfig& Config() const { return m_config; }

    // Writes in pieces of the write packet size. kMsgConnectUsb when the pipe is closed,
    // kMsgConnectCut when a piece is refused or times out.
    MessageCode WritePipe(std::span<const std::uint8_t> bytes);
    // One read of up to buffer.size() bytes.
    CTransferResult ReadPipe(std::span<std::uint8_t> buffer);

    // Brackets every exchange of the protocol so that the sense thread never polls in the middle.
    void BeginExchange() { m_gate.BeginExchange(); }
    void EndExchange() { m_gate.EndExchange(); }
    int TransferCount() const { return m_gate.TransferCount(); }
    int WaitingExchanges() const { return m_gate.WaitingExchanges(); }
    void CreateTransferGate() { m_gate.Create(); }
    void SignalTransferGate() { m_gate.Signal(); }
    bool HasTransferGate() const { return m_gate.Exists(); }

    void SetSessionOpen(bool open) { m_sessionOpen.Set(open); }
    bool IsSessionOpen() const { return m_sessionOpen.Get(); }
    // Set by the transfer driver while it runs an operation.
    void SetPause(bool pause) { m_pause.Set(pause); }
    bool IsPaused() const { return m_pause.Get(); }

    void SetSenseHooks(CSenseHooks hooks);
    // Starts polling once a sense period while the session is open.
    void StartSenseThread();
    bool IsSenseThreadRunning() const { return m_senseRunning.load(); }
    // Sense periods that ended with the decision to poll or not taken: a caller that changed what
    // the decision reads and sees this count grow by two knows a whole decision saw the change.
    int SenseRounds() const { return m_senseRounds.load(); }

    CApplicationWords& Words() { return m_words; }

private:
    struct CSearch;
    // One candidate of the second pass; true when the search ends with result.
    bool TryCandidate(const CUsbCandidate& device, CSearch& search, MessageCode& result);
    void StopSenseThread();
    void SenseThreadBody();
    bool SenseStopRequested() const { return m_senseStop.load(); }
    std::chrono::milliseconds TimeoutFor(std::size_t bytes) const;

    ITransport& m_transport;
    CAppContext& m_context;
    CApplicationWords& m_words;
    CDeviceLinkConfig m_config;
    CDeviceDiagnosis m_diagnosis;
    std::unique_ptr<CSingleInstanceLock> m_deviceLock;

    bool m_writePipeOpen = false;
    bool m_readPipeOpen = false;
    std::uint16_t m_writePacketSize = 0;
    std::uint16_t m_readPacketSize = 0;
    bool m_closing = false;

    CLockedValue<bool> m_sessionOpen;
    CLockedValue<bool> m_pause;
    CTransferGate m_gate;

    CSenseHooks m_hooks;
    std::thread m_senseThread;
    std::atomic<bool> m_senseRunning{false};
    std::atomic<int> m_senseRounds{0};
    std::atomic<bool> m_senseStop{false};
    std::mutex m_senseMutex;
    std::condition_variable m_senseWake;
};

} // namespace qzb
