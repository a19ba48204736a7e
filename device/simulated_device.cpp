#include "device/simulated_device.h"

#include "app/app_context.h"
#include "base/atomic_file.h"
#include "device/device_commands.h"
#include "files/dat_file.h"
#include "machine/image_encoder.h"
#include "model/image_layout.h"
#include "model/machine_image.h"
#include "model/model_defaults.h"
#include "model/operation_seed.h"
#include "model/panel_code.h"

#include <algorithm>
#include <string>

namespace qzb {

namespace {

constexpr std::uint32_t kCountryId = 0x10600;
// 2026-03-02: the set date of the entries the device comes with.
constexpr std::uint16_t kFactoryDate = (26 << 9) | (3 << 5) | 2;

void Put(std::vector<std::uint8_t>& bytes, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i) {
        bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

std::vector<std::uint8_t> Bytes(std::string_view text)
{
    return std::vector<std::uint8_t>(text.begin(), text.end());
}

// Directory entries come before the settings and groups after the speed dials they name, as a
// device answers a download.
int SectionRank(std::uint32_t id)
{
    if (id >= kFirstFavouriteId && id <= kLastFavouriteId) {
        return 0;
    }
    if (id >= kFirstFaxMailId && id <= kLastFaxMailId) {
        return 1;
    }
    if (id >= kFirstScanId && id <= kLastScanId) {
        return 2;
    }
    if (id >= kFirstGroupId && id <= kLastGroupId) {
        return 3;
    }
    return 4;
}

CFaxMailEntry Speed(std::int32_t number, const char16_t* name, const char* address, std::int32_t kind)
{
    CFaxMailEntry entry;
    entry.number = number;
    entry.kind = kind;
    entry.name.Assign(TextToPanelBytes(name));
    entry.address.Assign(address);
    entry.setDate = kFactoryDate;
    if (kind == kKindMail) {
        entry.faxSpeed = kFaxSpeedNotSet;
    }
    return entry;
}

// The memory a device of the model leaves the factory with, plus what an office has set up.
void BuildFactoryContent(CAppContext& context)
{
    CValueStore& store = context.store;
    ApplyModelDefaults(store, context.modelBit);
    context.device.dialModeCode = SeedFromOperationBlock(context.device.operationBlock, store);
    store.SetItemText("MACHINE_SET_DLG", "MACHINE_DEVICE_NAME_EDT", u"Front office");
    store.SetItemText("MACHINE_SET_DLG", "MACHINE_DEVICE_PLACE_EDT", u"Second floor");
    store.SetItemTextRaw("USER_SET_DLG", "USER_NAME", TextToPanelBytes(u"QZB Demo Office"));
    store.SetItemText("USER_SET_DLG", "USER_FAXNAME", u"+44 20 7946 0000");
    // A device leaves the factory with no memory reception password and no reception window (its
    // password bytes are zero), and the office prints camera pictures on A4.
    store.SetItemNumber("FAX_RX_SET_DLG", "FAX_RX_OPE_MEMORY_RX_MODD_PASS", -1);
    store.SetItemNumber("FAX_RX_SET_DLG", "FAX_RX_OPE_MEMORY_RX_MODD_ON_H_TIME", -1);
    store.SetItemNumber("CAMERA_DIRECT_PRINT_DLG", "CAMERA_TRAY1_PAPER_SIZE", 2);
    // E-mail is on from the factory; an office that uses it has given the device its address.
    store.SetItemText("EMAIL_SET_DLG", "EMAIL_ADR", u"office@example.com");
    const int ip[] = {192, 168, 1, 50};
    const int mask[] = {255, 255, 255, 0};
    const int gateway[] = {192, 168, 1, 1};
    for (int i = 0; i < 4; ++i) {
        const std::string part = std::to_string(i + 1);
        store.SetItemNumber("TCP_IP_SET_DLG", "NETWORK_IP_ADD_" + part, ip[i]);
        store.SetItemNumber("TCP_IP_SET_DLG", "NETWORK_SUB_MASK_" + part, mask[i]);
        store.SetItemNumber("TCP_IP_SET_DLG", "NETWORK_GATEWAY_" + part, gateway[i]);
    }

    CAddressBook& book = context.device.book;
    book.PutFaxMailEntry(Speed(1, u"Head office", "0123456789", kKindFax));
    CFaxMailEntry sales = Speed(2, u"Sales", "0201-555-0188", kKindFax);
    sales.faxSpeed = kFaxSpeed14400;
    sales.batchHour = 22;
    sales.batchMinute = 30;
    book.PutFaxMailEntry(sales);
    book.PutFaxMailEntry(Speed(3, u"Support", "support@example.com", kKindMail));
    book.PutFaxMailEntry(Speed(4, u"Warehouse", "P9#44", kKindFax));
    book.PutFaxMailEntry(Speed(5, u"Accounts", "accounts@example.com", kKindMail));
    CScanEntry archive;
    archive.number = 221;
    archive.name.Assign(TextToPanelBytes(u"Archive"));
    archive.serverAddress = u"ftp.example.com";
    archive.directory = u"/scans";
    archive.fileSize = 10;
    archive.resolution = 1;
    archive.fileFormat = 1;
    archive.setDate = kFactoryDate;
    book.PutScanEntry(archive);
    book.SetGroupMembership(1, 1, true, kKindFax, kFactoryDate);
    book.SetGroupMembership(1, 2, true, kKindFax, kFactoryDate);
    book.SetGroupMembership(1, 4, true, kKindFax, kFactoryDate);
    book.SetGroupName(1, TextToPanelBytes(u"Fax team"), kFactoryDate);
    book.SetGroupMembership(2, 3, true, kKindMail, kFactoryDate);
    book.SetGroupMembership(2, 5, true, kKindMail, kFactoryDate);
    book.SetGroupName(2, TextToPanelBytes(u"Mail team"), kFactoryDate);
    book.AddFavourite(1, kTargetGroup, 1);
    book.AddFavourite(2, kTargetSpeedDial, 3);
    book.AddFavourite(3, kTargetSpeedDial, 221);

    // One lower tray and a duplex unit, on the device and in its data.
    COptionsBlock options{};
    options[1] = 2;
    options[4] = 1;
    context.device.optionsBlock = options;
    context.device.tray2Installed = context.device.deviceHasTray2 = true;
    context.device.duplexInstalled = context.device.deviceHasDuplex = true;
    context.device.deviceFlag = true;
}

} // namespace

CSimulatedDevice::CSimulatedDevice(std::int32_t modelCode)
    : m_modelCode(modelCode)
{
    CAppContext context(modelCode);
    BuildFactoryContent(context);
    CEncodeOptions options;
    options.mode = EncodeMode::File;
    options.today = kFactoryDate;
    ApplyImage(EncodeMachineImage(context.device, context.store, options));

    const auto counters = CounterSlotIds();
    for (std::size_t i = 0; i < counters.size(); ++i) {
        if (counters[i] != 0) {
            std::vector<std::uint8_t> value;
            Put(value, static_cast<std::uint32_t>(1200 + 37 * i));
            m_memory[counters[i]] = value;
        }
    }
    m_memory[kMacAddressId] = {0x00, 0x20, 0x6B, 0x1A, 0x2B, 0x3C};
    std::vector<std::uint8_t> memory;
    Put(memory, 256);
    m_memory[kMemoryInfoId] = memory;
    m_memory[kPaperSourceInfoId] = {0};
    m_memory[0x20905] = Bytes("V1.20");
    m_memory[0x20906] = Bytes("E2.03");
    m_memory[0x20908] = Bytes("QZB41A07730");
    const std::uint8_t levels[] = {80, 65, 72, 45, 90, 88, 91, 70};
    for (std::uint32_t i = 0; i < 8; ++i) {
        m_memory[0x20700 + i] = {levels[i]};
    }
    m_memory[0x20709] = {95};
    m_memory[0x2070A] = {97};
    m_memory[0x2070B] = {93};
    m_memory[0x20712] = {85};
    m_memory[kWasteTonerInfoId] = {0};
}

std::vector<std::uint8_t> CSimulatedDevice::BusyAnswer() const
{
    std::vector<std::uint8_t> answer(kBusyAnswerSize, 0);
    if (m_faults.busyAtOpen) {
        answer[1] = 1;
    }
    return answer;
}

void CSimulatedDevice::Receive(std::span<const std::uint8_t> bytes)
{
    m_received.insert(m_received.end(), bytes.begin(), bytes.end());
    while (m_received.size() >= kMessageHeaderSize) {
        const std::span<const std::uint8_t> received(m_received);
        const std::uint32_t command = ReadLe(received.subspan(0, 4));
        const std::uint32_t length = ReadLe(received.subspan(4, 4));
        if (m_received.size() - kMessageHeaderSize < length) {
            return; // the body is still coming
        }
        Execute(command, received.subspan(kMessageHeaderSize, length));
        m_received.erase(m_received.begin(),
                         m_received.begin() + static_cast<std::ptrdiff_t>(kMessageHeaderSize + length));
    }
}

std::size_t CSimulatedDevice::Send(std::span<std::uint8_t> buffer)
{
    std::size_t count = std::min(buffer.size(), m_answer.size());
    if (m_faults.splitReads > 0) {
        count = std::min(count, m_faults.splitReads);
    }
    std::copy_n(m_answer.begin(), count, buffer.begin());
    m_answer.erase(m_answer.begin(), m_answer.begin() + static_cast<std::ptrdiff_t>(count));
    return count;
}

void CSimulatedDevice::Answer(std::span<const std::uint8_t> body)
{
    std::vector<std::uint8_t> header;
    Put(header, 0);
    Put(header, static_cast<std::uint32_t>(body.size()));
    m_answer.insert(m_answer.end(), header.begin(), header.end());
    m_answer.insert(m_answer.end(), body.begin(), body.end());
}

void CSimulatedDevice::Execute(std::uint32_t command, std::span<const std::uint8_t> body)
{
    switch (command) {
        case kCommandControl: {
            switch (ReadLe(body.subspan(0, std::min<std::size_t>(4, body.size())))) {
                case kControlStatus: {
                    std::uint8_t status[8] = {};
                    status[7] = m_faults.statusByte.value_or(kStatusReady);
                    Answer(status);
                    break;
                }
                case kControlSessionStart:
                    m_session = true;
                    break;
                case kControlSessionEnd:
                    m_session = false;
                    break;
                default:
                    break;
            }
            break;
        }
        case kCommandReadRequest: {
            CImageWriter answer;
            for (std::size_t at = 0; at + 8 <= body.size(); at += 8) {
                const std::uint32_t id = ReadLe(body.subspan(at, 4));
                const auto found = m_memory.find(id);
                if (id == 0 || found == m_memory.end()) {
                    continue;
                }
                if (id == kCountryId && m_faults.country) {
                    answer.AppendNumber(id, static_cast<std::uint32_t>(*m_faults.country), found->second.size());
                } else {
                    answer.Append(id, found->second);
                }
            }
            std::vector<std::uint8_t> bytes = answer.Take();
            if (m_faults.damagedAnswers) {
                // A last entry whose data never comes.
                Put(bytes, kCountryId);
                Put(bytes, 1);
            }
            Answer(bytes);
            break;
        }
        case kCommandWriteImage:
            ++m_writeCommands;
            if (ApplyImage(body)) {
                ++m_uploads;
            }
            break;
        default:
            break;
    }
}

bool CSimulatedDevice::ApplyImage(std::span<const std::uint8_t> image)
{
    if (!IsWellFormedImage(image)) {
        return false;
    }
    CImageReader reader(image);
    CImageEntry entry;
    while (reader.Next(entry)) {
        if (entry.id != kUploadEndId) {
            m_memory[entry.id].assign(entry.data.begin(), entry.data.end());
        }
    }
    return true;
}

const std::vector<std::uint8_t>* CSimulatedDevice::Entry(std::uint32_t id) const
{
    const auto found = m_memory.find(id);
    return found == m_memory.end() ? nullptr : &found->second;
}

std::vector<std::uint8_t> CSimulatedDevice::MemoryImage() const
{
    std::vector<std::uint32_t> ids;
    ids.reserve(m_memory.size());
    for (const auto& [id, data] : m_memory) {
        ids.push_back(id);
    }
    std::stable_sort(
        ids.begin(), ids.end(), [](std::uint32_t a, std::uint32_t b) { return SectionRank(a) < SectionRank(b); });
    CImageWriter image;
    for (std::uint32_t id : ids) {
        image.Append(id, m_memory.at(id));
    }
    return image.Take();
}

bool CSimulatedDevice::SaveDat(const std::filesystem::path& path) const
{
    const std::vector<std::uint8_t> file = DatFileOf(m_modelCode, MemoryImage());
    // The memory holds the device's passwords, as a downloaded DAT file does.
    return WriteFileAtomically(path, file, FileRights::OwnerOnlyWhenNew);
}

MessageCode CSimulatedDevice::LoadDat(const std::filesystem::path& path)
{
    CDatContents contents;
    if (const MessageCode code = ReadDatFile(path, m_modelCode, contents); code != kOk) {
        return code;
    }
    ApplyImage(contents.image);
    return kOk;
}

} // namespace qzb
