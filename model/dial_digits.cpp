#include "model/dial_digits.h"

#include <algorithm>
#include <array>

namespace qzb {

namespace {

// Symbol 14 has no character; it shows as a placeholder.
constexpr char kSymbols[16] = {'0', '1', '2', '3', '4', '5', '6', '7', '8', '9', '*', '#', 'P', ' ', '?', '-'};

// The symbol of each character, -1 for a character without one.
constexpr std::array<std::int8_t, 256> kSymbolOf = [] {
    std::array<std::int8_t, 256> table{};
    table.fill(-1);
    for (int symbol = 0; symbol < 16; ++symbol) {
        if (symbol != 14) {
            table[static_cast<unsigned char>(kSymbols[symbol])] = static_cast<std::int8_t>(symbol);
        }
    }
    return table;
}();

int SymbolOf(char c)
{
    return kSymbolOf[static_cast<unsigned char>(c)];
}

} // namespace

std::size_t UnpackDialDigits(std::span<const std::uint8_t> packed, std::size_t count, std::span<char> out)
{
    count = std::min({count, packed.size() * 2, out.size()});
    for (std::size_t i = 0; i + 1 < count; i += 2) {
        const std::uint8_t byte = packed[i / 2];
        out[i] = kSymbols[byte & 0x0F];
        out[i + 1] = kSymbols[byte >> 4];
    }
    if (count % 2 != 0) {
        out[count - 1] = kSymbols[packed[count / 2] & 0x0F];
    }
    return count;
}

std::string UnpackDialDigits(std::span<const std::uint8_t> packed, std::size_t count)
{
    std::string digits(std::min(count, packed.size() * 2), '\0');
    digits.resize(UnpackDialDigits(packed, count, digits));
    return digits;
}

void PackDialDigits(std::string_view digits, std::span<std::uint8_t> field)
{
    digits = digits.substr(0, field.size() * 2);
    auto nibble = [](char c) { return static_cast<std::uint8_t>(std::max(SymbolOf(c), 0)); };
    for (std::size_t i = 0; i < digits.size(); i += 2) {
        const std::uint8_t high = i + 1 < digits.size() ? nibble(digits[i + 1]) : 0;
        field[i / 2] |= static_cast<std::uint8_t>(nibble(digits[i]) | (high << 4));
    }
}

std::vector<std::uint8_t> PackDialDigits(std::string_view digits)
{
    std::vector<std::uint8_t> packed((digits.size() + 1) / 2, 0);
    PackDialDigits(digits, packed);
    return packed;
}

bool IsDialString(std::string_view text)
{
    for (char c : text) {
        if (SymbolOf(c) < 0) {
            return false;
        }
    }
    return true;
}

} // namespace qzb
