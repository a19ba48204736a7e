#pragma once

#include "app/preferences.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace qzb {

// Preferences held in memory, for tests that must not touch the user's preferences file.
class CMemoryPreferences : public IPreferences
{
public:
    std::u16string ReadText(std::string_view name, std::u16string_view defaultText) const override
    {
        const auto it = texts.find(std::string(name));
        return it == texts.end() ? std::u16string(defaultText) : it->second;
    }
    bool WriteText(std::string_view name, std::u16string_view text) override
    {
        texts[std::string(name)] = std::u16string(text);
        return true;
    }
    std::optional<std::vector<std::uint8_t>> ReadBinary(std::string_view name) const override
    {
        const auto it = binaries.find(std::string(name));
        return it == binaries.end() ? std::nullopt : std::optional(it->second);
    }
    bool WriteBinary(std::string_view name, const std::vector<std::uint8_t>& bytes) override
    {
        binaries[std::string(name)] = bytes;
        return true;
    }

    std::map<std::string, std::u16string> texts;
    std::map<std::string, std::vector<std::uint8_t>> binaries;
};

} // namespace qzb
