#include "app/last_model.h"

#include "app/model_profile.h"

#include <charconv>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace qzb {

namespace {

std::optional<std::int32_t> KnownModel(std::string_view text)
{
    std::int32_t code = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), code);
    if (error != std::errc() || end != text.data() + text.size() || !IsKnownModel(code)) {
        return std::nullopt;
    }
    return code;
}

std::string_view Trimmed(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) {
        text.remove_suffix(1);
    }
    return text;
}

} // namespace

std::optional<std::int32_t> ReadLastModel(const IPreferences& preferences)
{
    const std::u16string text = preferences.ReadText(kPrefLastModel, u"");
    std::string digits;
    for (char16_t unit : text) {
        if (unit > 0x7F) {
            return std::nullopt;
        }
        digits.push_back(static_cast<char>(unit));
    }
    return KnownModel(digits);
}

bool WriteLastModel(IPreferences& preferences, std::int32_t modelCode)
{
    const std::string digits = std::to_string(modelCode);
    return preferences.WriteText(kPrefLastModel, std::u16string(digits.begin(), digits.end()));
}

std::filesystem::path LauncherPreferencesFile()
{
    std::filesystem::path folder;
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config) {
        folder = config;
    } else if (const char* home = std::getenv("HOME"); home && *home) {
        folder = std::filesystem::path(home) / ".config";
    } else {
        return {};
    }
    return folder / "QZB" / "qzb.ini";
}

std::optional<std::string> LauncherValueInIniText(std::string_view text, std::string_view key)
{
    // Values outside a group, or in [General], are the key's own.
    bool ownGroup = true;
    std::istringstream lines{std::string(text)};
    std::string line;
    while (std::getline(lines, line)) {
        const std::string_view trimmed = Trimmed(line);
        if (!trimmed.empty() && trimmed.front() == '[') {
            ownGroup = trimmed == "[General]";
            continue;
        }
        const std::size_t equals = trimmed.find('=');
        if (ownGroup && equals != std::string_view::npos && Trimmed(trimmed.substr(0, equals)) == key) {
            return std::string(Trimmed(trimmed.substr(equals + 1)));
        }
    }
    return std::nullopt;
}

std::optional<std::int32_t> LastModelInIniText(std::string_view text)
{
    const std::optional<std::string> value = LauncherValueInIniText(text, kPrefLastModel);
    return value ? KnownModel(*value) : std::nullopt;
}

std::optional<std::string> ReadLauncherValue(const std::filesystem::path& file, std::string_view key)
{
    if (file.empty()) {
        return std::nullopt;
    }
    std::ifstream in(file);
    if (!in) {
        return std::nullopt;
    }
    // A preferences file is a few lines; anything far larger is not one.
    std::string text(4096, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(in.gcount()));
    return LauncherValueInIniText(text, key);
}

std::optional<std::int32_t> ReadLastModelFile(const std::filesystem::path& file)
{
    const std::optional<std::string> value = ReadLauncherValue(file, kPrefLastModel);
    return value ? KnownModel(*value) : std::nullopt;
}

} // namespace qzb
