#include "app/preferences.h"

namespace qzb {

std::vector<std::uint8_t> EncodeBinaryText(std::u16string_view text)
{
    std::vector<std::uint8_t> bytes;
    bytes.reserve((text.size() + 1) * 2);
    for (char16_t unit : text) {
        bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    bytes.push_back(0);
    bytes.push_back(0);
    return bytes;
}

std::u16string DecodeBinaryText(const std::vector<std::uint8_t>& bytes)
{
    std::u16string text;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto unit = static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
        if (unit == 0) {
            break;
        }
        text.push_back(unit);
    }
    return text;
}

std::u16string ReadServiceManPassword(const IPreferences& preferences)
{
    const auto bytes = preferences.ReadBinary(kPrefServiceManPass);
    if (!bytes) {
        return std::u16string(kFactoryServiceManPassword);
    }
    return DecodeBinaryText(*bytes);
}

bool WriteServiceManPassword(IPreferences& preferences, std::u16string_view password)
{
    return preferences.WriteBinary(kPrefServiceManPass, EncodeBinaryText(password));
}

} // namespace qzb
