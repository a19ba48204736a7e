#include "model/panel_code.h"

#include "model/value_store.h"

#include <array>
#include <ctime>
#include <iterator>
#include <memory>
#include <optional>

namespace qzb {

namespace {

std::optional<char16_t> FindUnit(std::span<const CPanelCodePair> table, std::uint8_t code)
{
    for (const CPanelCodePair& pair : table) {
        if (pair.code == code) {
            return pair.unit;
        }
    }
    return std::nullopt;
}

} // namespace

std::uint32_t LanguageGroupMask(std::int32_t machineLanguage)
{
    if (machineLanguage == 6) {
        return kLanguageMaskRussian;
    }
    if (machineLanguage >= 7 && machineLanguage <= 10) {
        return kLanguageMaskCentralEurope;
    }
    if (machineLanguage == 11) {
        return kLanguageMaskJapanese;
    }
    if (machineLanguage == 12) {
        return kLanguageMask12;
    }
    return kLanguageMaskWestern;
}

std::int32_t PanelLanguage(const CValueStore& store)
{
    return store.GetItemNumber(kPanelLanguagePage, kPanelLanguageKey);
}

namespace {

char16_t SearchUnit(std::uint8_t code, std::uint32_t languageMask)
{
    std::optional<char16_t> unit = FindUnit(PanelMainTable(), code);
    if (languageMask == kLanguageMaskJapanese || !unit) {
        if (std::optional<char16_t> japanese = FindUnit(PanelJapaneseTable(), code)) {
            unit = japanese;
        }
    }
    // Russian panels show the Latin look-alikes as Latin; the Cyrillic rows only serve encoding.
    if (languageMask != kLanguageMaskRussian) {
        for (const CPanelOverrideRow& row : PanelOverrideTable()) {
            if ((row.languageMask & languageMask) != 0 && row.code == code) {
                unit = row.unit;
                break;
            }
        }
    }
    return unit.value_or(static_cast<char16_t>(code));
}

// The search above fixed once per language group: every name of a directory passes through it
// character by character.
constexpr std::uint32_t kLanguageMasks[] = {
    kLanguageMaskWestern, kLanguageMaskRussian, kLanguageMaskCentralEurope, kLanguageMaskJapanese, kLanguageMask12};
using CUnitsOfCodes = std::array<char16_t, 256>;

// Each group's table is made when a name of that group is first read: a process mostly needs one.
template <std::size_t Group>
const CUnitsOfCodes& UnitsOfGroup()
{
    static const CUnitsOfCodes units = [] {
        CUnitsOfCodes table{};
        for (std::size_t code = 0; code < table.size(); ++code) {
            table[code] = SearchUnit(static_cast<std::uint8_t>(code), kLanguageMasks[Group]);
        }
        return table;
    }();
    return units;
}

const CUnitsOfCodes* UnitsFor(std::uint32_t languageMask)
{
    static constexpr const CUnitsOfCodes& (*kTables[])() = {
        UnitsOfGroup<0>, UnitsOfGroup<1>, UnitsOfGroup<2>, UnitsOfGroup<3>, UnitsOfGroup<4>};
    static_assert(std::size(kTables) == std::size(kLanguageMasks));
    for (std::size_t m = 0; m < std::size(kLanguageMasks); ++m) {
        if (kLanguageMasks[m] == languageMask) {
            return &kTables[m]();
        }
    }
    return nullptr;
}

// The main table, then the Japanese one, then the overrides: a later table wins, and within a table
// the first row with the unit. Units no table knows stay 0.
const std::array<std::uint8_t, 0x10000>& CodesOfUnits()
{
    static const auto codes = [] {
        auto table = std::make_unique<std::array<std::uint8_t, 0x10000>>();
        const auto fill = [&table](auto rows) {
            for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
                (*table)[row->unit] = row->code;
            }
        };
        fill(PanelMainTable());
        fill(PanelJapaneseTable());
        fill(PanelOverrideTable());
        // A code no table knows (control codes, 0x7F and the unused codes above) reads as the unit
        // of the same value in every language; it is written back as that code, so a name the
        // device holds comes back byte for byte.
        std::array<bool, 256> known{};
        const auto mark = [&known](auto rows) {
            for (const auto& row : rows) {
                known[row.code] = true;
            }
        };
        mark(PanelMainTable());
        mark(PanelJapaneseTable());
        mark(PanelOverrideTable());
        for (std::size_t code = 1; code < known.size(); ++code) {
            if (!known[code] && (*table)[code] == 0) {
                (*table)[code] = static_cast<std::uint8_t>(code);
            }
        }
        return table;
    }();
    return *codes;
}

} // namespace

char16_t PanelCodeToUnit(std::uint8_t code, std::uint32_t languageMask)
{
    const CUnitsOfCodes* units = UnitsFor(languageMask);
    return units ? (*units)[code] : SearchUnit(code, languageMask);
}

std::uint8_t UnitToPanelCode(char16_t unit)
{
    return CodesOfUnits()[unit];
}

void PanelBytesToText(std::string_view bytes, std::int32_t machineLanguage, std::u16string& text)
{
    const std::uint32_t mask = LanguageGroupMask(machineLanguage);
    const CUnitsOfCodes* units = UnitsFor(mask);
    text.resize(bytes.substr(0, bytes.find('\0')).size());
    if (units == nullptr) {
        for (std::size_t i = 0; i < text.size(); ++i) {
            text[i] = SearchUnit(static_cast<std::uint8_t>(bytes[i]), mask);
        }
        return;
    }
    char16_t* out = text.data();
    for (std::size_t i = 0; i < text.size(); ++i) {
        out[i] = (*units)[static_cast<std::uint8_t>(bytes[i])];
    }
}

std::u16string PanelBytesToText(std::string_view bytes, std::int32_t machineLanguage)
{
    std::u16string text;
    PanelBytesToText(bytes, machineLanguage, text);
    return text;
}

std::u16string PanelBytesToText(std::string_view bytes, const CValueStore& store)
{
    return PanelBytesToText(bytes, PanelLanguage(store));
}

std::string TextToPanelBytes(std::u16string_view text)
{
    const auto& codes = CodesOfUnits();
    std::string bytes(text.size(), '\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::uint8_t code = codes[text[i]];
        if (code == 0) {
            bytes.resize(i);
            break;
        }
        bytes[i] = static_cast<char>(code);
    }
    return bytes;
}

std::string TextToPanelBytes(std::u16string_view text, std::size_t maxBytes)
{
    return TextToPanelBytes(text.substr(0, maxBytes));
}

std::size_t TextToPanelBytes(std::u16string_view text, std::span<char> field)
{
    const auto& codes = CodesOfUnits();
    const std::size_t count = std::min(text.size(), field.size());
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t code = codes[text[i]];
        if (code == 0) {
            return i;
        }
        field[i] = static_cast<char>(code);
    }
    return count;
}

std::uint16_t PackDeviceDate(std::chrono::year_month_day date)
{
    if (!date.ok()) {
        return 0;
    }
    const int yearOffset = static_cast<int>(date.year()) - 2000;
    if (yearOffset < 0 || yearOffset > 0x7F) {
        return 0;
    }
    const auto month = static_cast<unsigned>(date.month());
    const auto day = static_cast<unsigned>(date.day());
    return static_cast<std::uint16_t>((static_cast<unsigned>(yearOffset) << 9) | (month << 5) | day);
}

std::uint16_t PackDeviceDate()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (now == static_cast<std::time_t>(-1) || !localtime_r(&now, &local)) {
        return 0;
    }
    return PackDeviceDate(std::chrono::year_month_day(std::chrono::year(local.tm_year + 1900),
                                                      std::chrono::month(static_cast<unsigned>(local.tm_mon + 1)),
                                                      std::chrono::day(static_cast<unsigned>(local.tm_mday))));
}

CDeviceDate UnpackDeviceDate(std::uint16_t packed)
{
    return {2000 + (packed >> 9), (packed >> 5) & 0x0Fu, packed & 0x1Fu};
}

} // namespace qzb
