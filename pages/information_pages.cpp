#include "pages/information_pages.h"

#include "machine/device_data.h"
#include "model/device_info_tables.h"
#include "model/value_store.h"
#include "pages/page.h"
#include "pages/paper_tables.h"

#include <array>
#include <cctype>
#include <cstdio>
#include <deque>
#include <string>
#include <vector>

namespace qzb {

namespace {

// Where a configuration row's value comes from.
enum class InfoSource : std::uint8_t {
    Heading, // a group heading, no value
    ColumnHeading, // a heading that stands in the column after the previous one
    Device, // the text the image decoder filled
    StoreText, // a text item of the store
    Fixed, // a text of the string table
    Address, // four octet items, "%i.%i.%i.%i"
    TrayWithMedia, // the tray's size and media names
    Tray, // the tray's size name; media plain paper
};

struct CConfigRow
{
    std::string_view label; // "STR_MIC_TXT_" + label
    std::uint32_t modelMask;
    InfoSource source;
    std::string_view page = {};
    std::string_view item = {};
};

constexpr std::uint32_t kAll = kEveryModelMask;

// In the order of the device information table, one row each.
constexpr CConfigRow kConfigRows[] = {
    {"SUMMARY", kAll, InfoSource::Heading},
    {"DEVICE_NAME", kAll, InfoSource::StoreText, "MACHINE_SET_DLG", "MACHINE_DEVICE_NAME_EDT"},
    {"DEVICE_PLACE", kAll, InfoSource::StoreText, "MACHINE_SET_DLG", "MACHINE_DEVICE_PLACE_EDT"},
    {"ENGINE_SERIAL_NUMBER", kAll, InfoSource::Device},
    {"MEMORY", kAll, InfoSource::Device},
    {"SUMMARY_INPUT_TRAY", kAll, InfoSource::Device},
    {"NETWORK", kAll, InfoSource::Fixed, {}, "STR_MIC_TXT_NETWORK_ETHERNET"},
    {"ROM_VERSION", kAll, InfoSource::Heading},
    {"MAIN_FW_ROM_VERSION", kAll, InfoSource::Device},
    {"ENGINE_FW_ROM_VERSION", kAll, InfoSource::Device},
    {"INTERFACE_INFORMATION", kAll, InfoSource::Heading},
    {"IP_ADDRESS", kAll, InfoSource::Address, "TCP_IP_SET_DLG", "NETWORK_IP_ADD"},
    {"SUBNET_MASK", kAll, InfoSource::Address, "TCP_IP_SET_DLG", "NETWORK_SUB_MASK"},
    {"GATEWAY_ADDRESS", kAll, InfoSource::Address, "TCP_IP_SET_DLG", "NETWORK_GATEWAY"},
    {"MAC_ADDRESS", kAll, InfoSource::Device},
    {"HOST_NAME", kAll, InfoSource::StoreText, "DNS_CONF_DLG", "DNS_HOST_NAME"},
    {"INPUT_TRAY", kAll, InfoSource::Heading},
    {"TRAY", kAll, InfoSource::Heading},
    {"PAPER_SIZE", kAll, InfoSource::ColumnHeading},
    {"PAPER_TYPE", kAll, InfoSource::ColumnHeading},
    {"TRAY_1", kAll, InfoSource::TrayWithMedia, "PAPER_SET_DLG", "PAPER_TRAY1_PAPER_SIZE"},
    {"TRAY_2", kAll, InfoSource::Tray, "PAPER_SET_DLG", "PAPER_TRAY2_PAPER_SIZE"},
    {"TRAY_3", 0x1, InfoSource::Tray, "PAPER_SET_DLG", "PAPER_TRAY3_PAPER_SIZE"},
    {"CONSUMABLE", kAll, InfoSource::Heading},
    {"CYAN_TONER_CARTRIDGE", kAll, InfoSource::Device},
    {"MAGENTA_TONER_CARTRIDGE", kAll, InfoSource::Device},
    {"YELLOW_TONER_CARTRIDGE", kAll, InfoSource::Device},
    {"BLACK_TONER_CARTRIDGE", kAll, InfoSource::Device},
    {"IMAGING_CARTRIDGE", 0x6, InfoSource::Device},
    {"CYAN_IMAGING_UNIT", 0x1, InfoSource::Device},
    {"MAGENTA_IMAGING_UNIT", 0x1, InfoSource::Device},
    {"YELLOW_IMAGING_UNIT", 0x1, InfoSource::Device},
    {"BLACK_IMAGING_UNIT", 0x1, InfoSource::Device},
    {"TRANSFER_BELT", 0x1, InfoSource::Device},
    {"TRANSFER_ROLLER", 0x1, InfoSource::Device},
    {"FUSER_UNIT", 0x1, InfoSource::Device},
    {"WASTE_TONER_BOTTLE", 0x1, InfoSource::Device},
};
static_assert(std::size(kConfigRows) == kDeviceInfoRows);

struct CCounterRow
{
    std::string_view label; // "STR_MITC_TXT_" + label
    std::uint32_t modelMask;
    bool heading = false;
};

// One row per total counter slot, in slot order. The second 0x2050E slot never receives a value
// (the decoder fills the first slot of an id), so it is never shown: the first slot carries the
// document feeder count for every model.
constexpr CCounterRow kCounterRows[] = {
    {.label = "COUNTER", .modelMask = kAll, .heading = true},
    {.label = "TOTAL_PRINT", .modelMask = kAll, .heading = true},
    {"TOTAL_FACES_COUNTER", kAll},
    {"COLOR_COPY", kAll},
    {"COLOR_PRINT", kAll},
    {"MONO_COPY", kAll},
    {"MONO_PRINT", kAll},
    {"FAX_PRINT", kAll},
    {"TOTAL_DUPLEX_COUNTER", kAll},
    {"DUPLEX_COLOR_COPY", kAll},
    {"DUPLEX_COLOR_PRINT", kAll},
    {"DUPLEX_MONO_COPY", kAll},
    {"DUPLEX_MONO_PRINT", kAll},
    {.label = "TOTAL_NORMAL_FACES_COUNTER", .modelMask = kAll, .heading = true},
    {"COLOR_FACES_PRINTED", kAll},
    {"MONOCHROME_FASES_PRINTED", kAll},
    {"TOTAL", kAll},
    {.label = "FAX_COUNTER", .modelMask = kAll, .heading = true},
    {"FAX_TX_COUNTER", kAll},
    {"FAX_RX_COUNTER", kAll},
    {.label = "SCAN_COUNTER", .modelMask = kAll, .heading = true},
    {"IR", kAll},
    {"ADF", kAll},
    {"ADF_DUPLEX", 0x1},
    {"ADF", 0},
    {.label = "TRAY_COUNTER", .modelMask = kAll, .heading = true},
    {"TRAY_1", kAll},
    {"TRAY_2", kAll},
    {"TRAY_3", 0x1},
    {.label = "PAPER_SIZE_COUNTER", .modelMask = kAll, .heading = true},
    {"A4", kAll},
    {"B5", kAll},
    {"A5", kAll},
    {"LEGAL", kAll},
    {"LETTER", kAll},
    {"OTHER", kAll},
    {.label = "PAPER_TYPE_COUNTER", .modelMask = kAll, .heading = true},
    {"PLAIN_PAPER", kAll},
    {"RECYCLED", 0x1},
    {"THICK", kAll},
    {"THICK_2", kAll},
    {"GLOSSY", 0x1},
    {"GLOSSY_2", 0x1},
    {"TRANSPARENCY", 0x1},
    {"ENVELOP", kAll},
    {"LETTERHEAD", kAll},
    {"POSTCORD", kAll},
    {"LABEL", kAll},
    {.label = "APPLICATION_COUNTER", .modelMask = kAll, .heading = true},
    {"COPY_PRINT", kAll},
    {"FAX_RECEPTION_PRINT", kAll},
    {"FAX_TRASMITTING_PRINT", kAll},
    {"PC_REPORT_OUT_PRINT", kAll},
    {"PC_PRINT", kAll},
    {"SCAN_TO_EMAIL", kAll},
    {"SCAN_TO_FTP", kAll},
    {"SCAN_TO_FAX", kAll},
    {"SCAN_TO_SMB", kAll},
    {"SCAN_TO_USB", kAll},
    {"TWAIN", kAll},
};
static_assert(std::size(kCounterRows) == kCounterSlots);

constexpr std::int32_t kConfigLabelId = 2400;
constexpr std::int32_t kConfigValueId = 2450;
constexpr std::int32_t kConfigMediaId = 2500;
constexpr std::int32_t kCounterLabelId = 2600;
constexpr std::int32_t kCounterValueId = 2700;

// Builds controls at first use and keeps their names and keys for the whole run: the tables above
// are the data, and the controls only repeat them in the form every page has.
class CControlBuilder
{
public:
    std::string_view Keep(std::string text) { return m_strings.emplace_back(std::move(text)); }

    // "DEVICE_NAME" + "Value" -> "deviceNameValue"
    std::string_view Name(std::string_view label, std::string_view suffix)
    {
        std::string name;
        bool upper = false;
        for (const char c : label) {
            if (c == '_') {
                upper = true;
                continue;
            }
            const auto ch = static_cast<unsigned char>(c);
            name += static_cast<char>(upper ? std::toupper(ch) : std::tolower(ch));
            upper = false;
        }
        name += suffix;
        return Keep(std::move(name));
    }

    void Add(std::int32_t id,
             std::string_view name,
             std::string_view key,
             std::uint32_t mask,
             std::int32_t row,
             std::int32_t column,
             bool heading = false)
    {
        CControlDef control;
        control.id = id;
        control.kind = ControlKind::Label;
        control.name = name;
        control.textKey = key;
        control.modelMask = mask;
        control.hideExcluded = true;
        control.row = row;
        control.column = column;
        control.heading = heading;
        m_controls.push_back(control);
    }

    std::span<const CControlDef> Controls() const { return m_controls; }

private:
    std::deque<std::string> m_strings; // a deque never moves what it holds
    std::vector<CControlDef> m_controls;
};

std::u16string Widen(const std::string& text)
{
    return std::u16string(text.begin(), text.end());
}

std::u16string Dotted(const CValueStore& store, std::string_view page, std::string_view item)
{
    std::string text;
    for (int field = 1; field <= 4; ++field) {
        std::string key(item);
        key += '_';
        key += static_cast<char>('0' + field);
        const std::int32_t octet = store.GetItemNumber(page, key);
        // An address not set (no gateway: -1) shows empty, as the network page shows it.
        if (octet < 0 || octet > 255) {
            return {};
        }
        if (field > 1) {
            text += '.';
        }
        text += std::to_string(octet);
    }
    return Widen(text);
}

void LoadConfiguration(CPage& page)
{
    const CValueStore& store = *page.Env().store;
    const CDeviceData* device = page.Env().device;
    for (std::size_t i = 0; i < std::size(kConfigRows); ++i) {
        const CConfigRow& row = kConfigRows[i];
        const auto valueId = kConfigValueId + static_cast<std::int32_t>(i);
        std::u16string value;
        switch (row.source) {
            case InfoSource::Heading:
            case InfoSource::ColumnHeading:
                continue;
            case InfoSource::Device:
                value = device != nullptr ? device->deviceInfo[i] : std::u16string();
                break;
            case InfoSource::StoreText:
                value = store.GetItemText(row.page, row.item);
                break;
            case InfoSource::Fixed:
                value = page.Text(row.item);
                break;
            case InfoSource::Address:
                value = Dotted(store, row.page, row.item);
                break;
            case InfoSource::TrayWithMedia:
            case InfoSource::Tray: {
                value = page.Text(PaperSizeKey(store.GetItemNumber(row.page, row.item)));
                const std::string_view media =
                    row.source == InfoSource::Tray
                        ? PaperMediaKey(0)
                        : PaperMediaKey(store.GetItemNumber(row.page, "PAPER_TRAY1_MEDIA_TYPE"));
                page.SetCaption(kConfigMediaId + static_cast<std::int32_t>(i), page.Text(media));
                break;
            }
        }
        page.SetCaption(valueId, std::move(value));
    }
}

void LoadCounters(CPage& page)
{
    const CDeviceData* device = page.Env().device;
    for (std::size_t i = 0; i < std::size(kCounterRows); ++i) {
        if (kCounterRows[i].heading || CounterSlotIds()[i] == 0) {
            continue;
        }
        const std::uint32_t value = device != nullptr ? device->counters[i] : 0;
        page.SetCaption(kCounterValueId + static_cast<std::int32_t>(i), Widen(std::to_string(value)));
    }
    // The large model's feeder reads single-sided here, beside its duplex row.
    if (page.AppliesToModel(0x1)) {
        page.SetCaption(kCounterLabelId + 22, page.Text("STR_MITC_TXT_ADF_SINGLE"));
    }
}

constexpr CPageRules kConfigurationRules{.afterLoad = LoadConfiguration};
constexpr CPageRules kCounterRules{.afterLoad = LoadCounters};

std::span<const CControlDef> ConfigurationControls()
{
    static const CControlBuilder builder = [] {
        CControlBuilder b;
        std::int32_t row = -1;
        for (std::size_t i = 0; i < std::size(kConfigRows); ++i) {
            const CConfigRow& r = kConfigRows[i];
            const auto index = static_cast<std::int32_t>(i);
            std::string_view key = b.Keep("STR_MIC_TXT_" + std::string(r.label));
            if (r.source == InfoSource::TrayWithMedia || r.source == InfoSource::Tray) {
                key = b.Keep("STR_MITC_TXT_" + std::string(r.label));
            }
            if (r.source == InfoSource::ColumnHeading) {
                b.Add(kConfigLabelId + index,
                      b.Name(r.label, "Label"),
                      key,
                      r.modelMask,
                      row,
                      r.label == "PAPER_SIZE" ? 1 : 2);
                continue;
            }
            ++row;
            b.Add(kConfigLabelId + index,
                  b.Name(r.label, "Label"),
                  key,
                  r.modelMask,
                  row,
                  0,
                  r.source == InfoSource::Heading);
            if (r.source != InfoSource::Heading) {
                b.Add(kConfigValueId + index, b.Name(r.label, "Value"), {}, r.modelMask, row, 1);
            }
            if (r.source == InfoSource::TrayWithMedia || r.source == InfoSource::Tray) {
                b.Add(kConfigMediaId + index, b.Name(r.label, "Media"), {}, r.modelMask, row, 2);
            }
        }
        return b;
    }();
    return builder.Controls();
}

std::span<const CControlDef> CounterControls()
{
    static const CControlBuilder builder = [] {
        CControlBuilder b;
        for (std::size_t i = 0; i < std::size(kCounterRows); ++i) {
            const CCounterRow& r = kCounterRows[i];
            const auto index = static_cast<std::int32_t>(i);
            const std::string_view key = b.Keep("STR_MITC_TXT_" + std::string(r.label));
            const std::string_view stem = b.Keep(std::string(r.label) + "_" + std::to_string(i));
            // A counter the device keeps no slot for would show a caption without a number.
            const bool counted = r.heading || CounterSlotIds()[i] != 0;
            b.Add(kCounterLabelId + index, b.Name(stem, "Label"), key, counted ? r.modelMask : 0, index, 0, r.heading);
            if (!r.heading && CounterSlotIds()[i] != 0) {
                b.Add(kCounterValueId + index, b.Name(stem, "Value"), {}, r.modelMask, index, 1);
            }
        }
        return b;
    }();
    return builder.Controls();
}

} // namespace

const CPageDef& TotalCounterPage()
{
    static const CPageDef page{.name = "TOTAL_COUNTER",
                               .className = "CTotalCountDlg",
                               .typeCode = 0x04000001,
                               .pageClass = PageClass::Information,
                               .titleKey = "STR_TREE_MI_TOTAL_COUNTER",
                               .ratioKey = "STR_RATIO_DLG_TOTAL_COUNTER",
                               .controls = CounterControls(),
                               .rules = &kCounterRules};
    return page;
}

const CPageDef& ConfigurationPage()
{
    static const CPageDef page{.name = "CONFIGURATION",
                               .className = "CMachineConfDlg",
                               .typeCode = 0x04000002,
                               .pageClass = PageClass::Information,
                               .titleKey = "STR_TREE_MI_CONFIGURATION",
                               .ratioKey = "STR_RATIO_DLG_CONFIGURATION",
                               .controls = ConfigurationControls(),
                               .rules = &kConfigurationRules};
    return page;
}

} // namespace qzb
