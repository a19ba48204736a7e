#include "app/language_choice.h"

#include <cstdlib>

namespace qzb {

namespace {

// The panel's language list, in the order of its numbers.
constexpr CUiLanguage kLanguages[] = {
    {"en", "English", 0},
    {"fr", "Français", 1},
    {"de", "Deutsch", 2},
    {"it", "Italiano", 3},
    {"es", "Español", 4},
    {"pt", "Português", 5},
    {"ru", "Русский", 6},
    {"cs", "Čeština", 7},
    {"sk", "Slovenčina", 8},
    {"hu", "Magyar", 9},
    {"pl", "Polski", 10},
    {"ja", "日本語", 11},
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
