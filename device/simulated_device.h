#pragma once

#include "base/message_codes.h"

#include <cstdint>
#include <deque>
#include <filesystem>
#include <map>
#include <optional>
#include <span>
#include <vector>

namespace qzb {

// Faults a simulated device can be told to show.
struct CSimulatorFaults
{
    bool busyAtOpen = false; // the idle check answers 00 01
    std::optional<std::uint8_t> statusByte; // the last byte of every status answer (1, 2, 3, 7 ...)
    std::size_t splitReads = 0; // answers come in reads of at most this many bytes
    std::optional<std::size_t> cutAfter; // the next connection breaks after this many bytes
    bool cutEveryConnection = false; // every connection breaks after cutAfter bytes, not only the next
    bool damagedAnswers = false; // answers to read requests are not well-formed images
    std::optional<std::int32_t> country; // the device's fax country, when it differs from its memory
};

// The device behind the pipes: its memory of parameter entries, the command stream it reads, the
// answers it queues. Shared by the built-in simulator and the emulated USB device of the tests,
// so both speak the same device.
class CSimulatedDevice
{
public:
    // A device of the model with a realistic memory: settings, a few directory entries,
    // counters, device information, one lower tray and a duplex unit.
    explicit CSimulatedDevice(std::int32_t modelCode);

    std::int32_t ModelCode() const { return m_modelCode; }
    CSimulatorFaults& Faults() { return m_faults; }
    const CSimulatorFaults& Faults() const { return m_faults; }

    // The bytes of the idle check's answer.
    std::vector<std::uint8_t> BusyAnswer() const;
    // Takes bytes from the host; complete messages are carried out at once.
    void Receive(std::span<const std::uint8_t> bytes);
    // Hands out queued answer bytes (at most the split size); 0 when nothing is waiting.
    std::size_t Send(std::span<std::uint8_t> buffer);
    std::size_t PendingAnswerBytes() const { return m_answer.size(); }
    // A new connection starts clean: what a broken one left half sent or half read is gone, as
    // on a device whose pipes were reset.
    void ResetPipes()
    {
        m_answer.clear();
        m_received.clear();
    }
    bool SessionOpen() const { return m_session; }
    std::size_t UploadCount() const { return m_uploads; }
    // Write commands received, whether or not their image could be taken.
    std::size_t WriteCommandCount() const { return m_writeCommands; }

    // The memory as a machine image, directory first so that groups meet their members.
    std::vector<std::uint8_t> MemoryImage() const;
    // Entries of a well-formed image replace those with the same id; false changes nothing.
    bool ApplyImage(std::span<const std::uint8_t> image);
    const std::vector<std::uint8_t>* Entry(std::uint32_t id) const;

    // A DAT file of the memory, written atomically; the memory read from one.
    bool SaveDat(const std::filesystem::path& path) const;
    MessageCode LoadDat(const std::filesystem::path& path);

private:
    void Execute(std::uint32_t command, std::span<const std::uint8_t> body);
    void Answer(std::span<const std::uint8_t> body);

    std::int32_t m_modelCode;
    CSimulatorFaults m_faults;
    std::map<std::uint32_t, std::vector<std::uint8_t>> m_memory;
    std::vector<std::uint8_t> m_received;
    std::deque<std::uint8_t> m_answer;
    bool m_session = false;
    std::size_t m_uploads = 0;
    std::size_t m_writeCommands = 0;
};

} // namespace qzb
