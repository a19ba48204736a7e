#include "model/dial_digits.h"

#include <algorithm>

namespace qzb {

namespace {

// Symbol 14 has no character; it shows as a placeholder.
constexpr char kSymbols[16] = {'0', '1', '2', '3', '4', '5', '6', '7', '8', '9', '*', '#', 'P', ' ', '?', '-'};

int SymbolOf(char c)
{
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    switch (c) {
        case '*':
            return 10;
        case '#':
            return 11;
        case 'P':
            return 12;
        case ' ':
            return 13;
        case '-':
            return 15;
        default:
            return -1;
    }
}

} // namespace

std::string UnpackDialDigits(std::span<const std::uint8_t> packed, std::size_t count)
{
    std::string digits(std::min(count, packed.size() * 2), '\0');
    for (std::size_t i = 0; i < digits.size(); ++i) {
        const std::uint8_t byte = packed[i / 2];
        digits[i] = kSymbols[(i % 2 == 0) ? (byte & 0x0F) : (byte >> 4)];
    }
    return digits;
}

void PackDialDigits(std::string_view digits, std::span<std::uint8_t> field)
{
    digits = digits.substr(0, field.size() * 2);
    for (std::size_t i = 0; i < digits.size(); ++i) {
        const int symbol = SymbolOf(digits[i]);
        const auto nibble = static_cast<std::uint8_t>(symbol < 0 ? 0 : symbol);
        field[i / 2] |= (i % 2 == 0) ? nibble : static_cast<std::uint8_t>(nibble << 4);
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
