#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qzb {

inline constexpr std::string_view kPrefDatFilePath = "DatFilePath";
inline constexpr std::string_view kPrefDatFileName = "DatFileName";
inline constexpr std::string_view kPrefCsvFilePath = "CsvFilePath";
inline constexpr std::string_view kPrefCsvFileName = "CsvFileName";
inline constexpr std::string_view kPrefServiceManPass = "ServiceManPass";
inline constexpr std::u16string_view kFactoryServiceManPassword = u"qorlex";

// The per-user preferences under the profile's key. Every call opens the store, acts and closes
// it again; a store that cannot be opened reads defaults and drops writes.
class IPreferences
{
public:
    virtual ~IPreferences() = default;
    virtual std::u16string ReadText(std::string_view name, std::u16string_view defaultText) const = 0;
    // False when the value could not be written.
    virtual bool WriteText(std::string_view name, std::u16string_view text) = 0;
    virtual std::optional<std::vector<std::uint8_t>> ReadBinary(std::string_view name) const = 0;
    virtual bool WriteBinary(std::string_view name, const std::vector<std::uint8_t>& bytes) = 0;
};

// A store that is never there: every read gives the default and every write is dropped, for a
// caller such as the command line that keeps no preferences.
class CNoPreferences : public IPreferences
{
public:
    std::u16string ReadText(std::string_view, std::u16string_view defaultText) const override
    {
        return std::u16string(defaultText);
    }
    bool WriteText(std::string_view, std::u16string_view) override { return false; }
    std::optional<std::vector<std::uint8_t>> ReadBinary(std::string_view) const override { return std::nullopt; }
    bool WriteBinary(std::string_view, const std::vector<std::uint8_t>&) override { return false; }
};

// The service-man password is kept as binary UTF-16LE with its terminating zero.
std::u16string ReadServiceManPassword(const IPreferences& preferences);
bool WriteServiceManPassword(IPreferences& preferences, std::u16string_view password);

std::vector<std::uint8_t> EncodeBinaryText(std::u16string_view text);
std::u16string DecodeBinaryText(const std::vector<std::uint8_t>& bytes);

} // namespace qzb
