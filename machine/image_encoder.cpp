#include "machine/image_encoder.h"

#include "machine/device_data.h"
#include "model/dial_digits.h"
#include "model/image_layout.h"
#include "model/item_records.h"
#include "model/machine_image.h"
#include "model/panel_code.h"
#include "model/text_codec.h"
#include "model/value_store.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace qzb {

namespace {

// Number rows that travel as two bytes when no decoded width is known; every other number row
// travels as one byte, and the administrator number as six.
constexpr std::uint32_t kTwoByteNumberIds[] = {
    0x10102,
    0x10103,
    0x10105,
    0x10106,
    0x10231,
    0x10232,
    0x10246,
    0x10248,
    0x10249,
    0x10309,
    0x1030A,
    0x10310,
    0x10311,
    0x10403,
    0x10405,
    0x1040B,
    0x1040C,
};
constexpr std::uint32_t kAdministratorNumberId = 0x10200;
constexpr std::uint32_t kGatewayId = 0x10208;
constexpr std::uint32_t kDnsServerIds[] = {0x1020B, 0x1020D, 0x1020F};

// Times travel as hour << 11 | minute << 5. Numbers too large for their field are cut to it, in
// unsigned arithmetic: the store and the book hold whatever a page or a file put there.
std::uint16_t PackTime(std::int32_t hour, std::int32_t minute)
{
    return static_cast<std::uint16_t>((static_cast<std::uint32_t>(hour) << 11) +
                                      (static_cast<std::uint32_t>(minute) << 5));
}

// Copies a panel field into the entry's fixed field of `room` bytes, never past the field or the
// entry. The panel field's padding is zeros, as is the entry's: copied whole, in a length known
// when compiling, it writes what a copy of its text alone would, without the slow start a copy of
// a length only known at run time takes for these few bytes.
template <std::size_t Room, std::size_t N>
void Put(std::span<std::uint8_t> entry, std::size_t offset, const CPanelField<N>& field)
{
    constexpr std::size_t length = std::min(N - 1, Room);
    if (offset + length <= entry.size()) {
        std::memcpy(entry.data() + offset, field.Bytes().data(), length);
    }
}

// Finds records by ascending number in a list kept sorted by number, in one pass over the list.
template <typename Record>
class CSortedCursor
{
public:
    explicit CSortedCursor(const std::vector<Record>& list)
        : m_list(list)
    {
    }
    const Record* At(std::int32_t number)
    {
        while (m_next < m_list.size() && m_list[m_next].number < number) {
            ++m_next;
        }
        return m_next < m_list.size() && m_list[m_next].number == number ? &m_list[m_next] : nullptr;
    }

private:
    const std::vector<Record>& m_list;
    std::size_t m_next = 0;
};

class CEncoder
{
public:
    CEncoder(CDeviceData& device, const CValueStore& store, const CEncodeOptions& options)
        : m_device(device)
        , m_store(store)
        , m_options(options)
        , m_today(options.today ? *options.today : PackDeviceDate())
    {
    }

    std::vector<std::uint8_t> Run();

private:
    void Favourites();
    void FaxMail();
    void Scan();
    void Groups();
    void Settings();
    void OptionsBlock();
    std::uint16_t DateOr(std::uint16_t date) const { return date != 0 ? date : m_today; }

    std::uint32_t SettingLength(const CItemRow& row, std::size_t index) const;
    void SettingData(const CItemRow& row, std::size_t index, std::span<std::uint8_t> data) const;
    std::uint32_t TextLength(std::size_t index) const;
    std::uint32_t AddressLength(const CItemRow& row, std::size_t index) const;
    std::array<std::uint8_t, kMemoryReceptionSize> MemoryReception() const;
    std::array<std::uint8_t, kForwardingSize> Forwarding() const;

    CDeviceData& m_device;
    const CValueStore& m_store;
    const CEncodeOptions& m_options;
    std::uint16_t m_today;
    CImageWriter m_writer;
};

std::vector<std::uint8_t> CEncoder::Run()
{
    // Sections 1-4 take 65,760 bytes; the settings add a few kilobytes.
    m_writer.Reserve(72 * 1024);
    Favourites();
    FaxMail();
    Scan();
    Groups();
    const bool settings = m_options.mode == EncodeMode::File || m_options.serviceMan;
    if (settings) {
        Settings();
    }
    if (m_options.mode == EncodeMode::File) {
        OptionsBlock();
    }
    if (settings) {
        m_writer.AppendNumber(kDeviceFlagId, m_device.deviceFlag ? 1 : 0, 1);
    }
    if (m_options.mode == EncodeMode::Upload) {
        const std::uint8_t end[] = {0x01, 0x00};
        m_writer.Append(kUploadEndId, end);
    }
    return m_writer.Take();
}

void CEncoder::Favourites()
{
    CSortedCursor favourites(m_device.book.Favourites());
    for (std::int32_t slot = kFirstFavouriteNumber; slot <= kLastFavouriteNumber; ++slot) {
        const auto id = kFirstFavouriteId + static_cast<std::uint32_t>(slot - 1);
        if (const CFavourite* favourite = favourites.At(slot)) {
            const std::uint8_t data[] = {static_cast<std::uint8_t>(favourite->targetKind),
                                         static_cast<std::uint8_t>(favourite->targetNumber)};
            m_writer.Append(id, data);
        } else {
            m_writer.Append(id, {});
        }
    }
}

void CEncoder::FaxMail()
{
    namespace f = faxmail;
    const bool photoPaper = m_store.GetItemNumber("USER_SET_DLG", "USER_PRESET_ZOOM_CHANGE") == 1;
    const std::int32_t coding = m_store.GetItemNumber("SCAN_SET_DLG", "SCANNER_CODING_METHOD");
    CSortedCursor records(m_device.book.FaxMailEntries());
    for (std::int32_t number = kFirstFaxMailNumber; number <= kLastFaxMailNumber; ++number) {
        const auto id = kFirstFaxMailId + static_cast<std::uint32_t>(number - 1);
        const CFaxMailEntry* record = records.At(number);
        if (!record) {
            m_writer.Append(id, {});
            continue;
        }
        const std::span<std::uint8_t> e = m_writer.AppendZeroed(id, kFaxMailEntrySize);
        WriteLe16(e, f::kNumber, static_cast<std::uint16_t>(number | 0x8000));
        const std::string_view name = record->name.View();
        const std::string_view address = record->address.View();
        e[f::kNameLength] = static_cast<std::uint8_t>(name.size());
        Put<kNameFieldSize - 1>(e, f::kName, record->name);
        WriteLe16(e, f::kSetDate, DateOr(record->setDate));
        if (record->kind == kKindMail) {
            e[f::kFlags] = 5;
            e[f::kAddressLength] = static_cast<std::uint8_t>(address.size());
            e[f::kPaper] = photoPaper ? 2 : 12;
            e[f::kMailOne] = 1;
            e[f::kCoding] = static_cast<std::uint8_t>(coding == 2 ? 2 : coding == 1 ? 1 : 0);
            Put<f::kBatchTime - f::kMailAddress>(e, f::kMailAddress, record->address);
        } else {
            const bool batch = record->batchHour >= 0 && record->batchMinute >= 0;
            e[f::kFlags] = batch ? 0x16 : 0x06;
            e[f::kAddressLength] = static_cast<std::uint8_t>(address.size());
            e[f::kSpeed] = static_cast<std::uint8_t>(record->faxSpeed == kFaxSpeed33600   ? 4
                                                     : record->faxSpeed == kFaxSpeed14400 ? 3
                                                     : record->faxSpeed == kFaxSpeed9600  ? 2
                                                                                          : 0);
            PackDialDigits(address, std::span(e).subspan(f::kDigits, f::kBatchTime - f::kDigits));
            WriteLe16(
                e, f::kBatchTime, batch ? PackTime(record->batchHour, record->batchMinute) : std::uint16_t{0xFFE0});
        }
    }
}

void CEncoder::Scan()
{
    namespace s = scan;
    CSortedCursor records(m_device.book.ScanEntries());
    for (std::int32_t i = 0; i < static_cast<std::int32_t>(kMaxScanEntries); ++i) {
        const std::int32_t number = kFirstScanNumber + i;
        const std::span<std::uint8_t> e =
            m_writer.AppendZeroed(kFirstScanId + static_cast<std::uint32_t>(i), kScanEntrySize);
        e[s::kNumber] = static_cast<std::uint8_t>(number);
        if (const CScanEntry* record = records.At(number)) {
            // Each text is a length byte and a fixed field of panel code; the length is that of
            // the bytes actually written, so it never announces more than the field holds.
            auto text = [&e](std::size_t lengthAt, std::size_t at, const std::u16string& value, std::size_t size) {
                const std::span<char> field(reinterpret_cast<char*>(e.data() + at), size);
                e[lengthAt] = static_cast<std::uint8_t>(TextToPanelBytes(value, field));
            };
            e[s::kPresent] = 1;
            e[s::kProtocol] = record->protocol == kProtocolFtp ? 1 : 0;
            const std::string_view name = record->name.View();
            e[s::kNameLength] = static_cast<std::uint8_t>(std::min(name.size(), s::kNameSize));
            Put<s::kNameSize>(e, s::kName, record->name);
            text(s::kServerLength, s::kServer, record->serverAddress, s::kServerSize);
            text(s::kDirectoryLength, s::kDirectory, record->directory, s::kDirectorySize);
            text(s::kUserNameLength, s::kUserName, record->userName, s::kUserNameSize);
            text(s::kPasswordLength, s::kPassword, record->password, s::kPasswordSize);
            text(s::kPasswordCopyLength, s::kPasswordCopy, record->password, s::kPasswordSize);
            e[s::kUseProxy] = static_cast<std::uint8_t>(record->useProxy);
            WriteLe16(e, s::kPort, static_cast<std::uint16_t>(record->port));
            e[s::kFileSize] = static_cast<std::uint8_t>(record->fileSize);
            e[s::kColourMode] = static_cast<std::uint8_t>(record->colourMode);
            e[s::kResolution] = static_cast<std::uint8_t>(record->resolution);
            e[s::kScanMode] = static_cast<std::uint8_t>(record->scanMode);
            e[s::kFileFormat] = static_cast<std::uint8_t>(record->fileFormat);
            e[s::kCodingMethod] = static_cast<std::uint8_t>(record->codingMethod);
            e[s::kScanArea] = static_cast<std::uint8_t>(record->scanArea);
            e[s::kAccount] = record->account == kAccountAnonymous ? 1 : 0;
            e[s::kNotify] = static_cast<std::uint8_t>(record->mailNotification);
            for (std::size_t n = 0; n < kNotificationAddressCount; ++n) {
                text(s::kNotifyLengths + n,
                     s::kNotifyAddresses + n * s::kNotifyAddressSize,
                     record->notificationAddresses[n],
                     s::kNotifyAddressSize);
            }
            WriteLe16(e, s::kSetDate, DateOr(record->setDate));
        }
    }
}

void CEncoder::Groups()
{
    namespace g = group;
    CSortedCursor records(m_device.book.Groups());
    for (std::int32_t number = kFirstGroupNumber; number <= kLastGroupNumber; ++number) {
        const std::span<std::uint8_t> e =
            m_writer.AppendZeroed(kFirstGroupId + static_cast<std::uint32_t>(number - 1), kGroupEntrySize);
        WriteLe16(e, g::kNumber, static_cast<std::uint16_t>(number));
        const CGroupEntry* record = records.At(number);
        // Members end at the first 0; a group without members is written absent.
        std::vector<std::int32_t> members;
        if (record) {
            for (std::int32_t member : record->members) {
                if (member == 0 || members.size() == kMaxGroupMembers) {
                    break;
                }
                members.push_back(member);
            }
        }
        if (!members.empty()) {
            e[g::kPresent] = 0x80;
            e[g::kMemberCount] = static_cast<std::uint8_t>(members.size());
            const std::string_view name = record->name.View();
            e[g::kNameLength] = static_cast<std::uint8_t>(name.size());
            Put<kNameFieldSize - 1>(e, g::kName, record->name);
            WriteLe16(e, g::kSetDate, DateOr(record->setDate));
            for (std::size_t i = 0; i < members.size(); ++i) {
                e[g::kMembers + 2 * i] = 4;
                e[g::kMembers + 2 * i + 1] = static_cast<std::uint8_t>(members[i]);
            }
        }
    }
}

// Store texts are held in the bytes they travel in: the code page, or panel code for USER_NAME.
// A text longer than its row can announce is cut where a character ends, so the "buffer length"
// row before it always holds the length actually written.
std::uint32_t CEncoder::TextLength(std::size_t index) const
{
    const std::string& bytes = m_store.RawText(ItemRecords()[index].record);
    const std::size_t limit = ItemTextLimit(index, CValueStore::kMaxTextBytes);
    const bool panel = ItemTable()[index].key == "USER_NAME";
    return static_cast<std::uint32_t>(panel ? std::min(limit, bytes.size())
                                            : ProcessCodePage().PrefixLength(bytes, limit));
}

std::uint32_t CEncoder::AddressLength(const CItemRow& row, std::size_t index) const
{
    const std::int32_t first = m_store.Number(ItemRecords()[index].parts[0]);
    if (row.parameterId == kGatewayId) {
        return first == -1 ? 0 : 4;
    }
    if (std::find(std::begin(kDnsServerIds), std::end(kDnsServerIds), row.parameterId) != std::end(kDnsServerIds)) {
        return first == 0 ? 0 : 4;
    }
    return 4;
}

std::uint32_t CEncoder::SettingLength(const CItemRow& row, std::size_t index) const
{
    switch (row.kind) {
        case ItemKind::Number: {
            if (row.key == kBufferLengthKey) {
                return 1;
            }
            return SettingNumberWidth(m_device, index);
        }
        case ItemKind::Text:
            if (row.key == "SNMP_READ_COMMUNITY_NAME" || row.key == "SNMP_WRITE_COMMUNITY_NAME") {
                return kSnmpCommunitySize;
            }
            return TextLength(index);
        case ItemKind::Address:
            return AddressLength(row, index);
        case ItemKind::Composite:
            switch (row.layout) {
                case CompositeLayout::OperationBlock:
                    return static_cast<std::uint32_t>(m_device.operationBlock.size());
                case CompositeLayout::DateTime:
                    return kDateTimeSize;
                case CompositeLayout::MemoryReception:
                    return kMemoryReceptionSize;
                case CompositeLayout::Forwarding:
                    return kForwardingSize;
                case CompositeLayout::None:
                    break;
            }
            break;
    }
    return 0;
}

// Fills the row's data, which comes zeroed and of the row's length, in place in the image.
void CEncoder::SettingData(const CItemRow& row, std::size_t index, std::span<std::uint8_t> data) const
{
    const CItemRecords& records = ItemRecords()[index];
    const std::size_t length = data.size();
    switch (row.kind) {
        case ItemKind::Number: {
            const auto value = static_cast<std::uint32_t>(m_store.Number(records.record));
            for (std::size_t i = 0; i < length && i < 4; ++i) {
                data[i] = static_cast<std::uint8_t>(value >> (8 * i));
            }
            break;
        }
        case ItemKind::Text: {
            const std::string& bytes = m_store.RawText(records.record);
            std::copy_n(bytes.begin(), std::min(bytes.size(), length), data.begin());
            break;
        }
        case ItemKind::Address: {
            for (std::size_t j = 0; j < length && j < records.parts.size(); ++j) {
                data[j] = static_cast<std::uint8_t>(m_store.Number(records.parts[j]));
            }
            break;
        }
        case ItemKind::Composite:
            switch (row.layout) {
                case CompositeLayout::OperationBlock:
                    std::copy(m_device.operationBlock.begin(), m_device.operationBlock.end(), data.begin());
                    break;
                case CompositeLayout::DateTime: {
                    constexpr auto kPage = "USER_SET_DLG";
                    const auto year = static_cast<std::uint32_t>(m_store.GetItemNumber(kPage, "USER_TIME_YEAR"));
                    WriteLe16(data, 0, static_cast<std::uint16_t>(year + 2000));
                    data[2] = static_cast<std::uint8_t>(m_store.GetItemNumber(kPage, "USER_TIME_MOUTH"));
                    data[3] = static_cast<std::uint8_t>(m_store.GetItemNumber(kPage, "USER_TIME_DAY"));
                    data[4] = static_cast<std::uint8_t>(m_store.GetItemNumber(kPage, "USER_TIME_HOUR"));
                    data[5] = static_cast<std::uint8_t>(m_store.GetItemNumber(kPage, "USER_TIME_MINUTES"));
                    break;
                }
                case CompositeLayout::MemoryReception: {
                    const auto block = MemoryReception();
                    std::copy(block.begin(), block.end(), data.begin());
                    break;
                }
                case CompositeLayout::Forwarding: {
                    const auto block = Forwarding();
                    std::copy(block.begin(), block.end(), data.begin());
                    break;
                }
                case CompositeLayout::None:
                    break;
            }
            break;
    }
}

std::array<std::uint8_t, kMemoryReceptionSize> CEncoder::MemoryReception() const
{
    constexpr auto kPage = "FAX_RX_SET_DLG";
    std::array<std::uint8_t, kMemoryReceptionSize> block{};
    const std::int32_t password = m_store.GetItemNumber(kPage, "FAX_RX_OPE_MEMORY_RX_MODD_PASS");
    if (password != -1) {
        std::int32_t rest = password < 0 ? 0 : password % 10000;
        for (int i = 7; i >= 4; --i) {
            block[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>('0' + rest % 10);
            rest /= 10;
        }
        block[11] = 4;
    }
    const std::int32_t onHour = m_store.GetItemNumber(kPage, "FAX_RX_OPE_MEMORY_RX_MODD_ON_H_TIME");
    if (m_store.GetItemNumber(kPage, "FAX_RX_OPE_MEMORY_RX_MODE") == 1 && onHour != -1) {
        const std::int32_t onMinute = m_store.GetItemNumber(kPage, "FAX_RX_OPE_MEMORY_RX_MODD_ON_M_TIME");
        const std::int32_t offHour = m_store.GetItemNumber(kPage, "FAX_RX_OPE_MEMORY_RX_MODD_OFF_H_TIME");
        const std::int32_t offMinute = m_store.GetItemNumber(kPage, "FAX_RX_OPE_MEMORY_RX_MODD_OFF_M_TIME");
        WriteLe16(block, 2, PackTime(onHour, onMinute));
        WriteLe16(block, 8, PackTime(offHour, offMinute));
        block[10] = 0xC0;
    }
    return block;
}

std::array<std::uint8_t, kForwardingSize> CEncoder::Forwarding() const
{
    constexpr auto kPage = "FORWARD_LOCATION_DLG";
    std::array<std::uint8_t, kForwardingSize> block{};
    const bool fax = m_store.GetItemNumber(kPage, "FAX_RX_OPE_FAX_EMAIL_MODE") == 0;
    const std::string text = m_store.GetItemTextRaw(kPage, fax ? "FAX_RX_OPE_FAX_NUMBER" : "FAX_RX_OPE_EMAIL_ADDRESS");
    if (IsDialString(text)) {
        const std::string digits = text.substr(0, (kForwardingSize - 5) * 2);
        block[0] = 2;
        block[1] = static_cast<std::uint8_t>(digits.size());
        const auto packed = PackDialDigits(digits);
        std::copy(packed.begin(), packed.end(), block.begin() + 5);
    } else {
        const std::string bytes = text.substr(0, std::min<std::size_t>(kForwardingSize - 6, 255));
        block[0] = 1;
        block[1] = static_cast<std::uint8_t>(bytes.size());
        block[3] = 12;
        block[4] = 1;
        std::copy(bytes.begin(), bytes.end(), block.begin() + 6);
    }
    return block;
}

void CEncoder::Settings()
{
    const std::vector<std::uint32_t> excluded = ExcludedSettingIds(m_device, m_store);
    const auto table = ItemTable();
    for (std::size_t index = 0; index < table.size(); ++index) {
        const CItemRow& row = table[index];
        if (std::find(excluded.begin(), excluded.end(), row.parameterId) != excluded.end()) {
            continue;
        }
        const std::uint32_t length = SettingLength(row, index);
        if (row.kind == ItemKind::Number && row.key == kBufferLengthKey) {
            // Announces the length of the row that follows it.
            const std::uint32_t following = index + 1 < table.size() ? SettingLength(table[index + 1], index + 1) : 0;
            m_writer.AppendZeroed(row.parameterId, 1)[0] = static_cast<std::uint8_t>(following);
        } else {
            SettingData(row, index, m_writer.AppendZeroed(row.parameterId, length));
        }
        m_device.receivedLength[index] = length;
    }
}

void CEncoder::OptionsBlock()
{
    // A file always carries the block; data that never brought one (defaults, a CSV import)
    // writes a blank block that the flags below fill in.
    COptionsBlock block = m_device.optionsBlock.value_or(COptionsBlock{});
    if (m_device.tray3Installed) {
        block[1] = 3;
    } else if (m_device.tray2Installed) {
        block[1] = 2;
    }
    block[4] = m_device.duplexInstalled ? 1 : 0;
    m_writer.Append(kOptionsBlockId, block);
}

} // namespace

std::uint32_t SettingNumberWidth(const CDeviceData& device, std::size_t rowIndex)
{
    if (rowIndex < device.receivedLength.size() && device.receivedLength[rowIndex] != 0) {
        return device.receivedLength[rowIndex];
    }
    const std::uint32_t id = rowIndex < ItemTable().size() ? ItemTable()[rowIndex].parameterId : 0;
    if (id == kAdministratorNumberId) {
        return 6;
    }
    const bool twoBytes =
        std::find(std::begin(kTwoByteNumberIds), std::end(kTwoByteNumberIds), id) != std::end(kTwoByteNumberIds);
    return twoBytes ? 2 : 1;
}

std::vector<std::uint32_t> ExcludedSettingIds(const CDeviceData& device, const CValueStore& store)
{
    std::vector<std::uint32_t> excluded;
    excluded.reserve(6);
    const bool tray2 = device.deviceHasTray2 && device.tray2Installed;
    const bool tray3 = device.deviceHasTray3 && device.tray3Installed;
    if (!tray2) {
        for (std::uint32_t id : {0x10700u, 0x1090Au, 0x1090Bu, 0x1090Eu}) {
            excluded.push_back(id);
        }
    } else if (!tray3) {
        excluded.push_back(0x1090B);
        if (store.GetItemNumber("COPY_SET_DLG", "COPY1_PAPER_PRIORITY") == 2) {
            excluded.push_back(0x10700);
        }
    }
    if (!(device.deviceHasDuplex && device.duplexInstalled)) {
        excluded.push_back(0x10015);
    }
    return excluded;
}

std::vector<std::uint8_t>
EncodeMachineImage(CDeviceData& device, const CValueStore& store, const CEncodeOptions& options)
{
    return CEncoder(device, store, options).Run();
}

} // namespace qzb
