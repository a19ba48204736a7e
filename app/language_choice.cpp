#include "app/language_choice.h"

#include <cstdlib>

namespace qzb {

namespace {

// The panel's language list, in the order of its numbers.
constexpr CUiLanguage kLanguages[] = {
    {"en", "English", 0, "WINDOWS-1252"},
    {"fr", "Français", 1, "WINDOWS-1252"},
    {"de", "Deutsch", 2, "WINDOWS-1252"},
    {"it", "Italiano", 3, "WINDOWS-1252"},
    {"es", "Español", 4, "WINDOWS-1252"},
    {"pt", "Português", 5, "WINDOWS-1252"},
    {"ru", "Русский", 6, "WINDOWS-1251"},
    {"cs", "Čeština", 7, "WINDOWS-1250"},
    {"sk", "Slovenčina", 8, "WINDOWS-1250"},
    {"hu", "Magyar", 9, "WINDOWS-1250"},
    {"pl", "Polski", 10, "WINDOWS-1250"},
    {"ja", "日本語", 11, "CP932"},
};

char Lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string Environment(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr ? std::string(value) : std::string();
}

} // namespace

std::span<const CUiLanguage> UiLanguages()
{
    return kLanguages;
}

const CUiLanguage* FindUiLanguage(std::string_view codeOrLocale)
{
    // language[_territory][.codeset][@modifier], or a tag with a hyphen.
    const std::size_t end = codeOrLocale.find_first_of("_-.@");
    const std::string_view language = codeOrLocale.substr(0, end);
    if (language.size() != 2) {
        return nullptr;
    }
    const std::string lower{Lower(language[0]), Lower(language[1])};
    for (const CUiLanguage& candidate : kLanguages) {
        if (candidate.code == lower) {
            return &candidate;
        }
    }
    return nullptr;
}

std::string_view LanguageCodePage(std::string_view code)
{
    const CUiLanguage* language = FindUiLanguage(code);
    return language != nullptr ? language->codePage : kLanguages[0].codePage;
}

CLanguageSources LocaleLanguageSources()
{
    CLanguageSources sources;
    sources.lcAll = Environment("LC_ALL");
    sources.lcMessages = Environment("LC_MESSAGES");
    sources.lang = Environment("LANG");
    return sources;
}

std::string_view ChooseUiLanguage(const CLanguageSources& sources)
{
    const auto decide = [](std::string_view named) {
        const CUiLanguage* language = FindUiLanguage(named);
        return language != nullptr ? language->code : kEnglishLanguage;
    };
    for (const auto* chosen : {&sources.commandLine, &sources.preference}) {
        if (chosen->has_value() && !(*chosen)->empty()) {
            return decide(**chosen);
        }
    }
    for (const std::string* variable : {&sources.lcAll, &sources.lcMessages, &sources.lang}) {
        if (!variable->empty()) {
            return decide(*variable);
        }
    }
    return kEnglishLanguage;
}

} // namespace qzb
