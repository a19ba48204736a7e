#include "cli/json_dump.h"

#include "app/app_context.h"
#include "model/panel_code.h"
#include "model/text_codec.h"
#include "pages/entry_fax_mail.h"
#include "pages/entry_group.h"
#include "pages/entry_scan.h"

#include <cstdio>
#include <set>
#include <string>

namespace qzb {

namespace {

using Json = nlohmann::ordered_json;

std::string Hex(std::span<const std::uint8_t> bytes)
{
    std::string text;
    text.reserve(bytes.size() * 2);
    for (std::uint8_t byte : bytes) {
        char digits[3];
        std::snprintf(digits, sizeof(digits), "%02x", byte);
        text.append(digits, 2);
    }
    return text;
}

std::string Utf8(const std::u16string& text)
{
    return Utf16ToUtf8(text);
}

// A directory field under the name its editor gives it.
std::string Named(std::span<const CEntryFieldDef> defs, EntryFieldId id)
{
    return std::string(EntryFieldName(defs, id));
}

std::string Clock(std::int32_t hour, std::int32_t minute)
{
    if (hour < 0 || minute < 0) {
        return {};
    }
    char text[24];
    std::snprintf(text, sizeof text, "%02d:%02d", static_cast<int>(hour), static_cast<int>(minute));
    return text;
}

Json RecordJson(const CValueRecord& record, std::int32_t language)
{
    const std::u16string text =
        record.key == "USER_NAME" ? PanelBytesToText(record.text, language) : ProcessCodePage().Decode(record.text);
    return Json{{"number", record.number}, {"text", Utf8(text)}};
}

Json Settings(const CAppContext& context, std::int32_t language)
{
    Json settings = Json::object();
    for (const CValuePage& page : context.store.Pages()) {
        Json keys = Json::object();
        std::set<std::string> seen;
        for (const CValueRecord& record : page.records) {
            if (!seen.insert(record.key).second) {
                continue; // a repeated key is never reached by a lookup
            }
            keys[record.key] = RecordJson(record, language);
        }
        settings[page.name] = std::move(keys);
    }
    return settings;
}

} // namespace

Json SettingJson(const CAppContext& context, std::string_view page, std::string_view key)
{
    const CRecordRef ref = context.store.FindRecord(page, key);
    const auto* records = context.store.FindPageRecords(page);
    if (!ref.Valid() || !records) {
        return Json(nullptr);
    }
    return RecordJson((*records)[ref.record], PanelLanguage(context.store));
}

Json DumpJson(const CAppContext& context)
{
    const CDeviceData& device = context.device;
    const CAddressBook& book = device.book;
    const std::int32_t language = PanelLanguage(context.store);
    auto panel = [language](std::string_view bytes) { return Utf8(PanelBytesToText(bytes, language)); };

    Json json;
    json["model"] = context.modelCode;
    json["modelBit"] = context.modelBit;
    json["settings"] = Settings(context, language);
    json["operationBlock"] = Hex(device.operationBlock);
    json["dialMode"] = device.dialModeCode;
    json["optionsBlock"] = device.optionsBlock ? Json(Hex(*device.optionsBlock)) : Json(nullptr);
    json["tray2Installed"] = device.tray2Installed;
    json["tray3Installed"] = device.tray3Installed;
    json["duplexInstalled"] = device.duplexInstalled;
    json["deviceFlag"] = device.deviceFlag;

    // Until the release after next, a record carries its fields under their former names as well
    // (faxSpeed, batchHour and batchMinute, useProxy, fileSize, colourMode, scanMode, fileFormat,
    // codingMethod, scanArea, userName) beside the editors' names.
    const auto faxDefs = CFaxMailEditor::FieldDefs();
    Json faxMail = Json::array();
    for (const CFaxMailEntry& entry : book.FaxMailEntries()) {
        faxMail.push_back(
            Json{{"number", entry.number},
                 {"kind", EntryOptionWord(kFaxMailKindOptions, entry.kind == kKindMail ? kKindMail : kKindFax)},
                 {"name", panel(entry.name.View())},
                 {"address", panel(entry.address.View())},
                 {"faxSpeed", entry.faxSpeed},
                 {"batchHour", entry.batchHour},
                 {"batchMinute", entry.batchMinute},
                 {Named(faxDefs, FaxMailField::Speed), entry.faxSpeed},
                 {Named(faxDefs, FaxMailField::Batch), Clock(entry.batchHour, entry.batchMinute)},
                 {"setDate", entry.setDate}});
    }
    json["faxMail"] = std::move(faxMail);

    using S = ScanField;
    const auto scanDefs = CScanEditor::FieldDefs();
    Json scan = Json::array();
    for (const CScanEntry& entry : book.ScanEntries()) {
        Json notify = Json::array();
        for (const std::u16string& address : entry.notificationAddresses) {
            notify.push_back(Utf8(address));
        }
        const std::string_view protocol =
            EntryOptionWord(kScanProtocolOptions, entry.protocol == kProtocolFtp ? kProtocolFtp : kProtocolSmb);
        scan.push_back(Json{{"number", entry.number},
                            {"protocol", protocol},
                            {"name", panel(entry.name.View())},
                            {"server", Utf8(entry.serverAddress)},
                            {"directory", Utf8(entry.directory)},
                            {"useProxy", entry.useProxy},
                            {"port", entry.port},
                            {"fileSize", entry.fileSize},
                            {"colourMode", entry.colourMode},
                            {"resolution", entry.resolution},
                            {"scanMode", entry.scanMode},
                            {"fileFormat", entry.fileFormat},
                            {"codingMethod", entry.codingMethod},
                            {"scanArea", entry.scanArea},
                            {"notify", entry.mailNotification},
                            {"notifyAddresses", std::move(notify)},
                            {"account", entry.account},
                            {"userName", Utf8(entry.userName)},
                            {"password", Utf8(entry.password)},
                            {Named(scanDefs, S::Proxy), entry.useProxy},
                            {std::string(kScanFileSizeName), entry.fileSize},
                            {Named(scanDefs, S::Colour), entry.colourMode},
                            {Named(scanDefs, S::Mode), entry.scanMode},
                            {Named(scanDefs, S::Format), entry.fileFormat},
                            {Named(scanDefs, S::Coding), entry.codingMethod},
                            {Named(scanDefs, S::Area), entry.scanArea},
                            {Named(scanDefs, S::User), Utf8(entry.userName)},
                            {"setDate", entry.setDate}});
    }
    json["scan"] = std::move(scan);

    Json groups = Json::array();
    for (const CGroupEntry& entry : book.Groups()) {
        groups.push_back(
            Json{{"number", entry.number},
                 {"kind", EntryOptionWord(kFaxMailKindOptions, entry.kind == kKindMail ? kKindMail : kKindFax)},
                 {"name", panel(entry.name.View())},
                 {"members", entry.members},
                 {"setDate", entry.setDate}});
    }
    json["groups"] = std::move(groups);

    Json favourites = Json::array();
    for (const CFavourite& favourite : book.Favourites()) {
        favourites.push_back(Json{{"slot", favourite.number},
                                  {"targetKind", favourite.targetKind == kTargetGroup ? "group" : "speed"},
                                  {"targetNumber", favourite.targetNumber}});
    }
    json["favourites"] = std::move(favourites);

    Json info = Json::array();
    const auto rows = DeviceInfoRows();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        info.push_back(
            Json{{"label", rows[i].label}, {"id", rows[i].parameterId}, {"text", Utf8(device.deviceInfo[i])}});
    }
    json["deviceInfo"] = std::move(info);

    Json counters = Json::array();
    const auto ids = CounterSlotIds();
    for (std::size_t i = 0; i < ids.size(); ++i) {
        counters.push_back(Json{{"id", ids[i]}, {"value", device.counters[i]}});
    }
    json["counters"] = std::move(counters);
    return json;
}

} // namespace qzb
