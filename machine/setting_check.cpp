#include "machine/setting_check.h"

#include "machine/device_data.h"
#include "machine/image_decoder.h"
#include "machine/image_encoder.h"
#include "model/item_records.h"
#include "model/item_table.h"
#include "model/panel_code.h"
#include "model/text_codec.h"
#include "model/value_store.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <vector>

namespace qzb {

namespace {

// Store values that travel inside the composite layouts (date and time, memory reception,
// forwarding) rather than in a row of their own, with the values their fields hold.
struct CCompositeField
{
    std::string_view page;
    std::string_view key;
    bool text;
    std::int64_t minimum;
    std::int64_t maximum;
};

constexpr CCompositeField kCompositeFields[] = {
    {"USER_SET_DLG", "USER_TIME_YEAR", false, -2000, 0xFFFF - 2000},
    {"USER_SET_DLG", "USER_TIME_MOUTH", false, 0, 255},
    {"USER_SET_DLG", "USER_TIME_DAY", false, 0, 255},
    {"USER_SET_DLG", "USER_TIME_HOUR", false, 0, 255},
    {"USER_SET_DLG", "USER_TIME_MINUTES", false, 0, 255},
    {"FAX_RX_SET_DLG", "FAX_RX_OPE_MEMORY_RX_MODD_PASS", false, -1, 9999},
    {"FAX_RX_SET_DLG", "FAX_RX_OPE_MEMORY_RX_MODD_ON_H_TIME", false, -1, 31},
    {"FAX_RX_SET_DLG", "FAX_RX_OPE_MEMORY_RX_MODD_ON_M_TIME", false, 0, 63},
    {"FAX_RX_SET_DLG", "FAX_RX_OPE_MEMORY_RX_MODD_OFF_H_TIME", false, 0, 31},
    {"FAX_RX_SET_DLG", "FAX_RX_OPE_MEMORY_RX_MODD_OFF_M_TIME", false, 0, 63},
    {"FORWARD_LOCATION_DLG", "FAX_RX_OPE_FAX_EMAIL_MODE", false, 0, 1},
    {"FORWARD_LOCATION_DLG", "FAX_RX_OPE_FAX_NUMBER", true, 0, 0},
    {"FORWARD_LOCATION_DLG", "FAX_RX_OPE_EMAIL_ADDRESS", true, 0, 0},
};

bool Same(CRecordRef a, CRecordRef b)
{
    return a.page == b.page && a.record == b.record;
}

// Where a value of the record travels and what its field holds.
struct CPlace
{
    bool found = false;
    bool excluded = false; // only rows left out for a missing tray or duplex unit carry it
    std::int64_t minimum = 0;
    std::int64_t maximum = 0;
    std::size_t maxBytes = CValueStore::kMaxTextBytes;
};

CPlace FindPlace(const CDeviceData& device,
                 const CValueStore& store,
                 CRecordRef ref,
                 std::string_view page,
                 std::string_view key,
                 bool text)
{
    CPlace place;
    const auto table = ItemTable();
    const auto records = ItemRecords();
    const std::vector<std::uint32_t> excluded = ExcludedSettingIds(device, store);
    for (std::size_t index = 0; index < table.size(); ++index) {
        const CItemRow& row = table[index];
        std::optional<std::size_t> part;
        bool carries = false;
        if (text) {
            carries = row.kind == ItemKind::Text && Same(records[index].record, ref);
        } else if (row.kind == ItemKind::Number && row.key != kBufferLengthKey) {
            carries = Same(records[index].record, ref);
        } else if (row.kind == ItemKind::Address) {
            const auto& parts = records[index].parts;
            const auto at = std::find_if(parts.begin(), parts.end(), [ref](CRecordRef p) { return Same(p, ref); });
            if (at != parts.end()) {
                carries = true;
                part = static_cast<std::size_t>(at - parts.begin());
            }
        }
        if (!carries) {
            continue;
        }
        if (std::find(excluded.begin(), excluded.end(), row.parameterId) != excluded.end()) {
            place.excluded = true;
            continue;
        }
        place.found = true;
        place.excluded = false;
        if (text) {
            place.maxBytes = ItemTextLimit(index, CValueStore::kMaxTextBytes);
        } else if (part) {
            // The gateway's first part -1 stands for "no gateway".
            place.minimum = (row.key == "NETWORK_GATEWAY_1" && *part == 0) ? -1 : 0;
            place.maximum = 255;
        } else {
            const std::uint32_t width = SettingNumberWidth(device, index);
            place.minimum = width >= 4 ? std::numeric_limits<std::int32_t>::min() : 0;
            place.maximum =
                width >= 4 ? std::numeric_limits<std::int32_t>::max() : (std::int64_t{1} << (8 * width)) - 1;
        }
        return place;
    }
    if (place.excluded) {
        return place;
    }
    for (const CCompositeField& field : kCompositeFields) {
        if (field.page == page && field.key == key && field.text == text) {
            place.found = true;
            place.minimum = field.minimum;
            place.maximum = field.maximum;
            return place;
        }
    }
    return place;
}

// Encodes a file image with the value set and decodes it over a store in which the record holds
// something else: the value must be what comes back.
bool ComesBack(const CDeviceData& device,
               const CValueStore& store,
               CRecordRef ref,
               std::optional<std::int32_t> number,
               const std::string& bytes)
{
    CDeviceData data = device;
    CValueStore changed = store;
    if (number) {
        changed.SetNumber(ref, *number);
    } else {
        changed.SetTextRaw(ref, bytes);
    }
    CEncodeOptions options;
    options.mode = EncodeMode::File;
    options.today = 1; // set dates do not matter here
    const std::vector<std::uint8_t> image = EncodeMachineImage(data, changed, options);
    CDeviceData back;
    CValueStore reread = changed;
    if (number) {
        reread.SetNumber(ref, *number == 0 ? 1 : 0);
    } else {
        reread.SetTextRaw(ref, bytes.empty() ? "?" : "");
    }
    if (DecodeMachineImage(back, reread, image) != kOk) {
        return false;
    }
    return number ? reread.Number(ref) == *number : reread.RawText(ref) == changed.RawText(ref);
}

CSettingCheck Refused(SettingRefusal refusal)
{
    CSettingCheck check;
    check.refusal = refusal;
    return check;
}

// The refusal when the key carries no value of the kind asked for.
CSettingCheck NoPlace(const CDeviceData& device,
                      const CValueStore& store,
                      CRecordRef ref,
                      std::string_view page,
                      std::string_view key,
                      const CPlace& place,
                      bool text)
{
    if (place.excluded) {
        return Refused(SettingRefusal::NotInstalled);
    }
    const CPlace other = FindPlace(device, store, ref, page, key, !text);
    return Refused(other.found || other.excluded ? SettingRefusal::WrongKind : SettingRefusal::NotInImage);
}

} // namespace

bool SettingTravels(std::string_view page, std::string_view key, bool text)
{
    for (const CCompositeField& field : kCompositeFields) {
        if (field.page == page && field.key == key && field.text == text) {
            return true;
        }
    }
    for (const CItemRow& row : ItemTable()) {
        if (row.page != page || row.key == kBufferLengthKey) {
            continue;
        }
        if (text ? row.kind == ItemKind::Text && row.key == key : row.kind == ItemKind::Number && row.key == key) {
            return true;
        }
        // An address row names its first part; the four parts differ only in the last digit.
        if (!text && row.kind == ItemKind::Address && row.key.size() == key.size() && !key.empty() &&
            row.key.substr(0, key.size() - 1) == key.substr(0, key.size() - 1) && key.back() >= '1' &&
            key.back() <= '4') {
            return true;
        }
    }
    return false;
}

std::string SettingTextBytes(std::string_view key, std::u16string_view text)
{
    return key == "USER_NAME" ? TextToPanelBytes(text) : ProcessCodePage().Encode(text);
}

CSettingCheck CheckSettingNumber(const CDeviceData& device,
                                 const CValueStore& store,
                                 std::string_view page,
                                 std::string_view key,
                                 std::int32_t number)
{
    const CRecordRef ref = store.FindRecord(page, key);
    if (!ref.Valid()) {
        return Refused(SettingRefusal::NotInImage);
    }
    const CPlace place = FindPlace(device, store, ref, page, key, false);
    if (!place.found) {
        return NoPlace(device, store, ref, page, key, place, false);
    }
    if (number < place.minimum || number > place.maximum) {
        CSettingCheck check = Refused(SettingRefusal::OutOfRange);
        check.minimum = place.minimum;
        check.maximum = place.maximum;
        return check;
    }
    return ComesBack(device, store, ref, number, {}) ? CSettingCheck{} : Refused(SettingRefusal::NotKept);
}

CSettingCheck CheckSettingText(const CDeviceData& device,
                               const CValueStore& store,
                               std::string_view page,
                               std::string_view key,
                               std::u16string_view text)
{
    const CRecordRef ref = store.FindRecord(page, key);
    if (!ref.Valid()) {
        return Refused(SettingRefusal::NotInImage);
    }
    const CPlace place = FindPlace(device, store, ref, page, key, true);
    if (!place.found) {
        return NoPlace(device, store, ref, page, key, place, true);
    }
    const std::string bytes = SettingTextBytes(key, text);
    const std::u16string back =
        key == "USER_NAME" ? PanelBytesToText(bytes, PanelLanguage(store)) : ProcessCodePage().Decode(bytes);
    if (back != text || bytes.find('\0') != std::string::npos) {
        return Refused(SettingRefusal::NotRepresentable);
    }
    if (bytes.size() > place.maxBytes) {
        CSettingCheck check = Refused(SettingRefusal::TooLong);
        check.bytes = bytes.size();
        check.maxBytes = place.maxBytes;
        return check;
    }
    return ComesBack(device, store, ref, std::nullopt, bytes) ? CSettingCheck{} : Refused(SettingRefusal::NotKept);
}

} // namespace qzb
