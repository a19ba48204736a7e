#pragma once

#include <algorithm>
#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace qzb {

class CValueStore;

// The device keeps names in its own 8-bit panel code. Which Unicode character a byte stands for
// depends on the panel language (Machine_Language), through the language group masks below.
struct CPanelCodePair
{
    std::uint8_t code;
    char16_t unit;
};

struct CPanelOverrideRow
{
    std::uint32_t languageMask;
    std::uint8_t code;
    char16_t unit;
};

inline constexpr std::size_t kPanelMainTableSize = 220;
inline constexpr std::size_t kPanelJapaneseTableSize = 155;
inline constexpr std::size_t kPanelOverrideTableSize = 21;

std::span<const CPanelCodePair> PanelMainTable();
std::span<const CPanelCodePair> PanelJapaneseTable();
std::span<const CPanelOverrideRow> PanelOverrideTable();

inline constexpr std::uint32_t kLanguageMaskWestern = 0x3F;
inline constexpr std::uint32_t kLanguageMaskRussian = 0x40;
inline constexpr std::uint32_t kLanguageMaskCentralEurope = 0x780;
inline constexpr std::uint32_t kLanguageMaskJapanese = 0x800;
inline constexpr std::uint32_t kLanguageMask12 = 0x1000;

inline constexpr std::string_view kPanelLanguagePage = "MACHINE_SET_DLG";
inline constexpr std::string_view kPanelLanguageKey = "Machine_Language";

std::uint32_t LanguageGroupMask(std::int32_t machineLanguage);
// Read at every conversion, so a download or a change on the machine page applies at once.
std::int32_t PanelLanguage(const CValueStore& store);

char16_t PanelCodeToUnit(std::uint8_t code, std::uint32_t languageMask);
// 0 when no table knows the unit; the device reads that 0 as the end of the name.
std::uint8_t UnitToPanelCode(char16_t unit);

// Converts up to the first NUL or the end of the bytes, whichever comes first, so a full field
// without a terminator is read safely.
std::u16string PanelBytesToText(std::string_view bytes, std::int32_t machineLanguage);
std::u16string PanelBytesToText(std::string_view bytes, const CValueStore& store);
// The same into text, which keeps its storage.
void PanelBytesToText(std::string_view bytes, std::int32_t machineLanguage, std::u16string& text);

// The panel bytes of the text as the device will read them: one byte per UTF-16 unit, ending before
// the first unit that no table knows. Encoding does not depend on the panel language.
std::string TextToPanelBytes(std::u16string_view text);
// The same, cut to at most maxBytes bytes for a fixed field.
std::string TextToPanelBytes(std::u16string_view text, std::size_t maxBytes);
// The same into a fixed field, cut at its size; returns the bytes written.
std::size_t TextToPanelBytes(std::u16string_view text, std::span<char> field);

// A fixed panel-code field of N bytes: at most N - 1 bytes of text and always a terminating zero,
// with nothing but zeros after it. Longer text is cut at the field.
template <std::size_t N>
class CPanelField
{
    static_assert(N >= 1);

public:
    static constexpr std::size_t kMaxLength = N - 1;

    constexpr CPanelField() = default;
    constexpr explicit CPanelField(std::string_view bytes) { Assign(bytes); }

    constexpr void Assign(std::string_view bytes)
    {
        const std::size_t length = std::min({bytes.find('\0'), kMaxLength, bytes.size()});
        std::copy_n(bytes.begin(), length, m_bytes.begin());
        std::fill(m_bytes.begin() + static_cast<std::ptrdiff_t>(length), m_bytes.end(), '\0');
    }
    constexpr void Clear() { m_bytes.fill('\0'); }

    constexpr std::string_view View() const { return std::string_view(m_bytes.data()); }
    constexpr std::size_t Length() const { return View().size(); }
    constexpr bool Empty() const { return m_bytes[0] == '\0'; }
    // The whole field as it lies in a record, terminator and padding included.
    constexpr const std::array<char, N>& Bytes() const { return m_bytes; }

    constexpr bool operator==(const CPanelField&) const = default;

private:
    std::array<char, N> m_bytes{};
};

// Set dates: day in bits 0-4, month in bits 5-8, year - 2000 in bits 9-15.
struct CDeviceDate
{
    std::int32_t year = 2000;
    std::uint32_t month = 0;
    std::uint32_t day = 0;

    bool operator==(const CDeviceDate&) const = default;
};

// 0 (no date) for a date that is not valid or whose year the 7 bits cannot hold (2000-2127).
std::uint16_t PackDeviceDate(std::chrono::year_month_day date);
// Today's local date; 0 when the local time cannot be read.
std::uint16_t PackDeviceDate();
CDeviceDate UnpackDeviceDate(std::uint16_t packed);

} // namespace qzb
