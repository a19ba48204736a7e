#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace qzb {

// A language the device's panel speaks and the utility's texts come in. The codes name the
// translated string tables' folders under the data folder ("de/M8120QZBSTR.tbl"); English is the
// table in the data folder itself.
struct CUiLanguage
{
    std::string_view code; // ISO 639-1
    std::string_view nativeName; // as the language's own speakers write it, for the Language menu
    int machineLanguage; // the panel's number for it (Machine_Language)
    // The code page a desktop of that language keeps texts in, and so the process code page when
    // --codepage names none: the translated texts and what the user types must fit in it.
    std::string_view codePage;
};

inline constexpr std::string_view kEnglishLanguage = "en";

// The twelve panel languages in the panel's order, English first.
std::span<const CUiLanguage> UiLanguages();

// The language a code or locale name ("de", "de_DE.UTF-8", "pt-BR", "sr@latin") names, when the
// utility has it; nothing for "C", "POSIX", an empty text or another language.
const CUiLanguage* FindUiLanguage(std::string_view codeOrLocale);

// What the user's language may come from, strongest first: --language, the Language the window
// keeps, then the locale variables as the desktop sets them.
struct CLanguageSources
{
    std::optional<std::string> commandLine;
    std::optional<std::string> preference;
    std::string lcAll;
    std::string lcMessages;
    std::string lang;
};

// The locale variables of this process (LC_ALL, LC_MESSAGES, LANG).
CLanguageSources LocaleLanguageSources();

// The code of the language to show: the first source that is set decides, as the C library
// takes the first locale variable that is set; a language the utility lacks means English.
std::string_view ChooseUiLanguage(const CLanguageSources& sources);

// The code page of the language's desktop; Windows-1252 for a code the utility has no texts in.
std::string_view LanguageCodePage(std::string_view code);

// The kept Language of the launcher's preferences, from the INI file's text.
inline constexpr std::string_view kPrefLanguage = "Language";

} // namespace qzb
