#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace qzb {

// What a name edit may take in a panel language: a code table of 256 character codes, each standing
// for one Unicode character, and the codes the panel keypad offers. These codes only decide what may
// be typed; names travel to the device in the panel code of model/panel_code.h.
struct CPanelCharset
{
    std::span<const char16_t, 256> codeTable;
    std::span<const std::uint8_t> allowedCodes; // keypad order, which carries no meaning here
};

// Languages 0-5 and every value not named elsewhere share the Western set.
const CPanelCharset& PanelCharsetFor(std::int32_t machineLanguage);

// The first code whose table entry is ch; none for characters outside the table.
std::optional<std::uint8_t> PanelCharsetCode(const CPanelCharset& charset, char32_t ch);

// The table holds ch and the keypad offers its code. Code 0 is never offered.
bool PanelCharsetAllows(const CPanelCharset& charset, char32_t ch);

} // namespace qzb
