#include "model/panel_code.h"

#include "model/value_store.h"

#include <ctime>
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

std::optional<std::uint8_t> FindCode(std::span<const CPanelCodePair> table, char16_t unit)
{
    for (const CPanelCodePair& pair : table) {
        if (pair.unit == unit) {
            return pair.code;
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

char16_t PanelCodeToUnit(std::uint8_t code, std::uint32_t languageMask)
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

std::uint8_t UnitToPanelCode(char16_t unit)
{
    std::uint8_t code = 0;
    if (std::optional<std::uint8_t> main = FindCode(PanelMainTable(), unit)) {
        code = *main;
    }
    if (std::optional<std::uint8_t> japanese = FindCode(PanelJapaneseTable(), unit)) {
        code = *japanese;
    }
    for (const CPanelOverrideRow& row : PanelOverrideTable()) {
        if (row.unit == unit) {
            code = row.code;
            break;
        }
    }
    return code;
}

std::u16string PanelBytesToText(std::string_view bytes, std::int32_t machineLanguage)
{
    const std::uint32_t mask = LanguageGroupMask(machineLanguage);
    std::u16string text;
    text.reserve(bytes.size());
    for (const char byte : bytes) {
        if (byte == '\0') {
            break;
        }
        text.push_back(PanelCodeToUnit(static_cast<std::uint8_t>(byte), mask));
    }
    return text;
}

std::u16string PanelBytesToText(std::string_view bytes, const CValueStore& store)
{
    return PanelBytesToText(bytes, PanelLanguage(store));
}

std::string TextToPanelBytes(std::u16string_view text)
{
    std::string bytes;
    bytes.reserve(text.size());
    for (const char16_t unit : text) {
        const std::uint8_t code = UnitToPanelCode(unit);
        if (code == 0) {
            break;
        }
        bytes.push_back(static_cast<char>(code));
    }
    return bytes;
}

std::string TextToPanelBytes(std::u16string_view text, std::size_t maxBytes)
{
    return TextToPanelBytes(text.substr(0, maxBytes));
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
