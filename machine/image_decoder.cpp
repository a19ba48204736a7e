#include "machine/image_decoder.h"

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
#include <bitset>
#include <cstdio>
#include <vector>

namespace qzb {

namespace {

// A fixed-layout entry, read in place when it is whole and otherwise from a zero-filled copy of its
// full size, so that a short entry reads as zeros and no field is read past the entry's end.
template <std::size_t N>
class CFixedEntry
{
public:
    explicit CFixedEntry(std::span<const std::uint8_t> data)
        : m_bytes(data.data())
    {
        if (data.size() < N) {
            std::copy(data.begin(), data.end(), m_copy.begin());
            std::fill(m_copy.begin() + static_cast<std::ptrdiff_t>(data.size()), m_copy.end(), std::uint8_t{0});
            m_bytes = m_copy.data();
        }
    }
    CFixedEntry(const CFixedEntry&) = delete;
    CFixedEntry& operator=(const CFixedEntry&) = delete;

    std::uint8_t operator[](std::size_t offset) const { return m_bytes[offset]; }
    operator std::span<const std::uint8_t>() const { return {m_bytes, N}; }

private:
    std::array<std::uint8_t, N> m_copy; // filled only for a short entry
    const std::uint8_t* m_bytes;
};

std::string_view
Field(std::span<const std::uint8_t> bytes, std::size_t offset, std::size_t length, std::size_t fieldSize)
{
    length = std::min({length, fieldSize, bytes.size() - offset});
    return std::string_view(reinterpret_cast<const char*>(bytes.data() + offset), length);
}

bool IsEmptyEntry(std::span<const std::uint8_t> data)
{
    return data.empty() || ReadLe16(data, 0) == 0;
}

class CDecoder
{
public:
    CDecoder(CDeviceData& device, CValueStore& store, const TextLookup& text)
        : m_device(device)
        , m_store(store)
        , m_text(text)
    {
        for (const CFaxMailEntry& entry : device.book.FaxMailEntries()) {
            m_speedNumbers.set(static_cast<std::size_t>(entry.number));
        }
        for (const CScanEntry& entry : device.book.ScanEntries()) {
            m_speedNumbers.set(static_cast<std::size_t>(entry.number));
        }
        m_scanEntries.reserve(kMaxScanEntries);
    }

    void Decode(const CImageEntry& entry);
    void Finish();

private:
    void Setting(const CImageEntry& entry);
    void Address(const CItemRecords& records, bool gateway, std::span<const std::uint8_t> data);
    void DateTime(std::span<const std::uint8_t> data);
    void MemoryReception(std::span<const std::uint8_t> data);
    void Forwarding(std::span<const std::uint8_t> data);
    void FaxMail(std::span<const std::uint8_t> data);
    void Group(std::span<const std::uint8_t> data);
    void Scan(std::span<const std::uint8_t> data, std::int32_t language);
    void Favourite(std::uint32_t id, std::span<const std::uint8_t> data);
    void DeviceInfo(std::uint32_t id, std::span<const std::uint8_t> data);
    void Counter(std::uint32_t id, std::span<const std::uint8_t> data);
    void OptionsBlock(std::span<const std::uint8_t> data);
    std::u16string Text(std::string_view key) const { return m_text ? m_text(key) : std::u16string(); }

    CDeviceData& m_device;
    CValueStore& m_store;
    const TextLookup& m_text;
    bool m_operationBlockSeen = false;
    std::vector<std::span<const std::uint8_t>> m_scanEntries;
    std::bitset<kLastScanNumber + 1> m_speedNumbers; // speed-dial numbers the book holds
};

void CDecoder::Decode(const CImageEntry& entry)
{
    const std::uint32_t id = entry.id;
    const auto data = entry.data;
    if (id == kMacAddressId) {
        DeviceInfo(id, data);
    } else if (id >= kFirstSettingId && id <= kLastSettingId) {
        Setting(entry);
    } else if (id >= kFirstGroupId && id <= kLastGroupId) {
        Group(data);
    } else if (id >= kFirstFaxMailId && id <= kLastFaxMailId) {
        FaxMail(data);
    } else if (id >= kFirstScanId && id <= kLastScanId) {
        m_scanEntries.push_back(data);
    } else if (id >= kFirstFavouriteId && id <= kLastFavouriteId) {
        Favourite(id, data);
    } else if (id == kDeviceFlagId) {
        if (!data.empty()) {
            m_device.deviceFlag = data[0] != 0;
        }
    } else if (id >= kFirstCounterId && id <= kLastCounterId) {
        Counter(id, data);
    } else if (id >= kFirstDeviceInfoId && id <= kLastDeviceInfoId) {
        DeviceInfo(id, data);
    } else if (id == kOperationBlockId) {
        // A block of another size cannot be the device's switches; it is ignored like a wrong
        // options block.
        if (data.size() == m_device.operationBlock.size()) {
            std::copy(data.begin(), data.end(), m_device.operationBlock.begin());
            m_operationBlockSeen = true;
        }
    } else if (id == kOptionsBlockId) {
        OptionsBlock(data);
    }
}

void CDecoder::Finish()
{
    // Scan-to-server texts are converted under the panel language the image itself brings, which a
    // file carries only after its directory.
    const std::int32_t language = PanelLanguage(m_store);
    for (const auto data : m_scanEntries) {
        Scan(data, language);
    }
    if (m_operationBlockSeen) {
        m_device.dialModeCode =
            DialModeCode(m_device.operationBlock, m_store.GetItemNumber("COMMUNICATE_SET_DLG", "COMM_SET_PULSE"));
    }
}

void CDecoder::Setting(const CImageEntry& entry)
{
    const auto table = ItemTable();
    const CItemRow* row = FindItemRow(entry.id);
    if (!row) {
        return;
    }
    const auto index = static_cast<std::size_t>(row - table.data());
    const CItemRecords& records = ItemRecords()[index];
    m_device.receivedLength[index] = static_cast<std::uint32_t>(entry.data.size());
    const auto data = entry.data;
    switch (row->kind) {
        case ItemKind::Number:
            m_store.SetNumber(records.record, static_cast<std::int32_t>(ReadLe(data)));
            break;
        case ItemKind::Text: {
            std::string_view bytes(reinterpret_cast<const char*>(data.data()), data.size());
            bytes = bytes.substr(0, bytes.find('\0'));
            // The store keeps texts in the bytes they travel in (panel code for USER_NAME), so a byte
            // the code page leaves undefined still goes back to the device as it came. A text is
            // kept within what its row can carry back, where a one-byte length announces it.
            const std::size_t limit = ItemTextLimit(index, CValueStore::kMaxTextBytes);
            const std::size_t length =
                row->key == "USER_NAME" ? std::min(limit, bytes.size()) : ProcessCodePage().PrefixLength(bytes, limit);
            m_store.SetTextRaw(records.record, bytes.substr(0, length));
            break;
        }
        case ItemKind::Address:
            Address(records, row->key == "NETWORK_GATEWAY_1", data);
            break;
        case ItemKind::Composite:
            switch (row->layout) {
                case CompositeLayout::DateTime:
                    DateTime(data);
                    break;
                case CompositeLayout::MemoryReception:
                    MemoryReception(data);
                    break;
                case CompositeLayout::Forwarding:
                    Forwarding(data);
                    break;
                case CompositeLayout::OperationBlock:
                case CompositeLayout::None:
                    break;
            }
            break;
    }
}

void CDecoder::Address(const CItemRecords& records, bool gateway, std::span<const std::uint8_t> data)
{
    if (data.empty()) {
        // No address: the gateway's first part -1 means "no gateway".
        for (std::size_t part = 0; part < records.parts.size(); ++part) {
            m_store.SetNumber(records.parts[part], gateway && part == 0 ? -1 : 0);
        }
        return;
    }
    for (std::size_t j = 0; j < data.size() && j < records.parts.size(); ++j) {
        m_store.SetNumber(records.parts[j], data[j]);
    }
}

void CDecoder::DateTime(std::span<const std::uint8_t> data)
{
    if (data.size() < 6) {
        return;
    }
    constexpr auto kPage = "USER_SET_DLG";
    m_store.SetItemNumber(kPage, "USER_TIME_YEAR", static_cast<std::int32_t>(ReadLe16(data, 0)) - 2000);
    m_store.SetItemNumber(kPage, "USER_TIME_MOUTH", data[2]);
    m_store.SetItemNumber(kPage, "USER_TIME_DAY", data[3]);
    m_store.SetItemNumber(kPage, "USER_TIME_HOUR", data[4]);
    m_store.SetItemNumber(kPage, "USER_TIME_MINUTES", data[5]);
}

void CDecoder::MemoryReception(std::span<const std::uint8_t> data)
{
    if (data.size() < kMemoryReceptionSize) {
        return;
    }
    constexpr auto kPage = "FAX_RX_SET_DLG";
    std::int32_t password = -1;
    if (data[11] != 0) {
        password = 0;
        for (std::size_t i = 4; i < 8; ++i) {
            const int digit = (data[i] >= '0' && data[i] <= '9') ? data[i] - '0' : 0;
            password = password * 10 + digit;
        }
    }
    m_store.SetItemNumber(kPage, "FAX_RX_OPE_MEMORY_RX_MODD_PASS", password);
    const bool timeSet = data[10] != 0;
    const std::uint16_t on = ReadLe16(data, 2);
    const std::uint16_t off = ReadLe16(data, 8);
    m_store.SetItemNumber(kPage, "FAX_RX_OPE_MEMORY_RX_MODD_ON_H_TIME", timeSet ? on >> 11 : -1);
    m_store.SetItemNumber(kPage, "FAX_RX_OPE_MEMORY_RX_MODD_ON_M_TIME", timeSet ? (on >> 5) & 0x3F : 0);
    m_store.SetItemNumber(kPage, "FAX_RX_OPE_MEMORY_RX_MODD_OFF_H_TIME", timeSet ? off >> 11 : 0);
    m_store.SetItemNumber(kPage, "FAX_RX_OPE_MEMORY_RX_MODD_OFF_M_TIME", timeSet ? (off >> 5) & 0x3F : 0);
}

void CDecoder::Forwarding(std::span<const std::uint8_t> data)
{
    if (data.size() < 2) {
        return;
    }
    constexpr auto kPage = "FORWARD_LOCATION_DLG";
    const std::size_t count = data[1];
    if (data[0] == 2) {
        const auto packed = data.size() > 5 ? data.subspan(5) : std::span<const std::uint8_t>();
        const std::string digits = UnpackDialDigits(packed, count);
        m_store.SetItemNumber(kPage, "FAX_RX_OPE_FAX_EMAIL_MODE", 0);
        m_store.SetItemText(kPage, "FAX_RX_OPE_FAX_NUMBER", std::u16string(digits.begin(), digits.end()));
    } else {
        // The address bytes are kept as they came, like every other setting text.
        const std::size_t length = std::min(count, data.size() > 6 ? data.size() - 6 : 0);
        const std::string_view address(reinterpret_cast<const char*>(data.data()) + 6, length);
        m_store.SetItemNumber(kPage, "FAX_RX_OPE_FAX_EMAIL_MODE", 1);
        m_store.SetItemTextRaw(kPage, "FAX_RX_OPE_EMAIL_ADDRESS", address);
    }
}

void CDecoder::FaxMail(std::span<const std::uint8_t> data)
{
    if (IsEmptyEntry(data)) {
        return;
    }
    namespace f = faxmail;
    const CFixedEntry<kFaxMailEntrySize> e(data);
    const std::uint8_t flags = e[f::kFlags];
    CFaxMailEntry entry;
    entry.number = ReadLe16(e, f::kNumber) & 0x7FFF;
    if (flags == 0 || entry.number < kFirstFaxMailNumber || entry.number > kLastFaxMailNumber ||
        m_speedNumbers.test(static_cast<std::size_t>(entry.number))) {
        return;
    }
    entry.kind = (flags & f::kFlagMail) ? kKindMail : kKindFax;
    entry.name.Assign(Field(e, f::kName, e[f::kNameLength], kNameFieldSize - 1));
    entry.setDate = ReadLe16(e, f::kSetDate);
    const std::size_t count = e[f::kAddressLength];
    if (entry.kind == kKindMail) {
        // An e-mail entry has no batch transmission: -1 like every other e-mail record.
        entry.faxSpeed = 0;
        entry.batchHour = -1;
        entry.batchMinute = -1;
        entry.address.Assign(Field(e, f::kMailAddress, count, kAddressFieldSize - 1));
    } else {
        switch (e[f::kSpeed]) {
            case 2:
                entry.faxSpeed = kFaxSpeed9600;
                break;
            case 3:
                entry.faxSpeed = kFaxSpeed14400;
                break;
            case 4:
                entry.faxSpeed = kFaxSpeed33600;
                break;
            default:
                entry.faxSpeed = kFaxSpeedNotSet;
                break;
        }
        const std::uint16_t time = ReadLe16(e, f::kBatchTime);
        entry.batchHour = (flags & f::kFlagBatch) ? time >> 11 : -1;
        entry.batchMinute = (flags & f::kFlagBatch) ? (time >> 5) & 0x3F : -1;
        const auto packed = std::span<const std::uint8_t>(e).subspan(f::kDigits, f::kBatchTime - f::kDigits);
        char digits[f::kMaxSymbols];
        entry.address.Assign(std::string_view(digits, UnpackDialDigits(packed, count, digits)));
    }
    m_device.book.PutFaxMailEntry(entry);
    m_speedNumbers.set(static_cast<std::size_t>(entry.number));
}

void CDecoder::Group(std::span<const std::uint8_t> data)
{
    if (IsEmptyEntry(data)) {
        return;
    }
    namespace g = group;
    const CFixedEntry<kGroupEntrySize> e(data);
    CGroupEntry entry;
    entry.number = ReadLe16(e, g::kNumber);
    if (e[g::kPresent] == 0 || entry.number < kFirstGroupNumber || entry.number > kLastGroupNumber ||
        m_device.book.FindGroup(entry.number)) {
        return;
    }
    entry.name.Assign(Field(e, g::kName, e[g::kNameLength], kNameFieldSize - 1));
    entry.setDate = ReadLe16(e, g::kSetDate);
    const std::size_t slots = (kGroupEntrySize - g::kMembers) / 2;
    const std::size_t count = std::min<std::size_t>({e[g::kMemberCount], slots, kMaxGroupMembers});
    entry.members.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::int32_t member = e[g::kMembers + 2 * i + 1];
        if (member >= kFirstFaxMailNumber && member <= kLastFaxMailNumber) {
            entry.members.push_back(member);
        }
    }
    std::sort(entry.members.begin(), entry.members.end());
    entry.members.erase(std::unique(entry.members.begin(), entry.members.end()), entry.members.end());
    // The group takes the kind of the speed dial that is its first member.
    const CFaxMailEntry* first = entry.members.empty() ? nullptr : m_device.book.FindFaxMailEntry(e[g::kMembers + 1]);
    entry.kind = first ? first->kind : kKindFax;
    m_device.book.PutGroup(std::move(entry));
}

void CDecoder::Scan(std::span<const std::uint8_t> data, std::int32_t language)
{
    if (IsEmptyEntry(data)) {
        return;
    }
    namespace s = scan;
    const CFixedEntry<kScanEntrySize> e(data);
    CScanEntry entry;
    entry.number = e[s::kNumber];
    if (e[s::kPresent] == 0 || entry.number < kFirstScanNumber || entry.number > kLastScanNumber ||
        m_speedNumbers.test(static_cast<std::size_t>(entry.number))) {
        return;
    }
    // Each text is converted straight into the entry's field.
    auto text = [&](std::u16string& target, std::size_t lengthAt, std::size_t at, std::size_t size) {
        PanelBytesToText(Field(e, at, e[lengthAt], size), language, target);
    };
    entry.protocol = e[s::kProtocol] == 1 ? kProtocolFtp : kProtocolSmb;
    entry.name.Assign(Field(e, s::kName, e[s::kNameLength], s::kNameSize));
    text(entry.serverAddress, s::kServerLength, s::kServer, s::kServerSize);
    text(entry.directory, s::kDirectoryLength, s::kDirectory, s::kDirectorySize);
    entry.useProxy = e[s::kUseProxy];
    entry.port = ReadLe16(e, s::kPort);
    entry.fileSize = e[s::kFileSize];
    entry.colourMode = e[s::kColourMode];
    entry.resolution = e[s::kResolution];
    entry.scanMode = e[s::kScanMode];
    entry.fileFormat = e[s::kFileFormat];
    entry.codingMethod = e[s::kCodingMethod];
    entry.scanArea = e[s::kScanArea];
    entry.account = e[s::kAccount] == 1 ? kAccountAnonymous : kAccountPrivateSite;
    text(entry.userName, s::kUserNameLength, s::kUserName, s::kUserNameSize);
    text(entry.password, s::kPasswordLength, s::kPassword, s::kPasswordSize);
    entry.mailNotification = e[s::kNotify];
    for (std::size_t i = 0; i < kNotificationAddressCount; ++i) {
        text(entry.notificationAddresses[i],
             s::kNotifyLengths + i,
             s::kNotifyAddresses + i * s::kNotifyAddressSize,
             s::kNotifyAddressSize);
    }
    entry.setDate = ReadLe16(e, s::kSetDate);
    m_device.book.PutScanEntry(std::move(entry));
    m_speedNumbers.set(static_cast<std::size_t>(entry.number));
}

void CDecoder::Favourite(std::uint32_t id, std::span<const std::uint8_t> data)
{
    const std::uint16_t value = ReadLe16(CFixedEntry<kFavouriteEntrySize>(data), 0);
    const auto slot = static_cast<std::int32_t>((id & 0xFFF) + 1);
    if (data.empty() || value < 256 || slot > kLastFavouriteNumber || m_device.book.FindFavourite(slot)) {
        return;
    }
    m_device.book.AddFavourite(slot, value & 0xFF, value >> 8);
}

void CDecoder::DeviceInfo(std::uint32_t id, std::span<const std::uint8_t> data)
{
    const auto rows = DeviceInfoRows();
    const auto row =
        std::find_if(rows.begin(), rows.end(), [id](const CDeviceInfoRow& r) { return r.parameterId == id; });
    if (row == rows.end()) {
        return;
    }
    std::u16string& value = m_device.deviceInfo[static_cast<std::size_t>(row - rows.begin())];
    auto ascii = [](const std::string& s) { return std::u16string(s.begin(), s.end()); };
    if (id == kMacAddressId) {
        std::string mac;
        for (std::uint8_t byte : data) {
            char hex[4];
            std::snprintf(hex, sizeof(hex), "%02x", byte);
            if (!mac.empty()) {
                mac.push_back(':');
            }
            mac.append(hex, 2);
        }
        value = ascii(mac);
    } else if (id == kMemoryInfoId) {
        value = ascii(std::to_string(static_cast<std::int32_t>(ReadLe(data))) + " ") + Text(kMemoryUnitKey);
    } else if (id == kPaperSourceInfoId) {
        const std::size_t tray = data.empty() ? std::size(kPaperSourceKeys) : data[0];
        value = tray < std::size(kPaperSourceKeys) ? Text(kPaperSourceKeys[tray]) : std::u16string();
    } else if (id == kWasteTonerInfoId) {
        const bool nearFull = !data.empty() && (data[0] == 1 || data[0] == 2);
        value = Text(nearFull ? kWasteTonerNearFullKey : kWasteTonerReadyKey);
    } else if (data.size() == 1) {
        value = ascii(std::to_string(data[0]) + " %");
    } else {
        const std::string_view bytes(reinterpret_cast<const char*>(data.data()), data.size());
        value = ProcessCodePage().Decode(bytes.substr(0, bytes.find('\0')));
    }
}

void CDecoder::Counter(std::uint32_t id, std::span<const std::uint8_t> data)
{
    const auto ids = CounterSlotIds();
    const auto slot = std::find(ids.begin(), ids.end(), id);
    if (slot != ids.end()) {
        m_device.counters[static_cast<std::size_t>(slot - ids.begin())] = ReadLe(data);
    }
}

void CDecoder::OptionsBlock(std::span<const std::uint8_t> data)
{
    if (data.size() != kOptionsBlockSize) {
        return;
    }
    COptionsBlock block{};
    std::copy(data.begin(), data.end(), block.begin());
    m_device.optionsBlock = block;
    m_device.tray2Installed = block[1] == 2 || block[1] == 3;
    m_device.tray3Installed = block[1] == 3;
    m_device.duplexInstalled = block[4] == 1;
}

} // namespace

MessageCode
DecodeMachineImage(CDeviceData& device, CValueStore& store, std::span<const std::uint8_t> image, const TextLookup& text)
{
    if (!IsWellFormedImage(image)) {
        return kMsgMalformedImage;
    }
    // Widths are kept per row across decodes: the second half of a download carries no settings
    // and must not forget the widths the first half brought.
    CDecoder decoder(device, store, text);
    CImageReader reader(image);
    CImageEntry entry;
    while (reader.Next(entry)) {
        decoder.Decode(entry);
    }
    decoder.Finish();
    return kOk;
}

} // namespace qzb
