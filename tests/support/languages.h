#pragma once

#include "app/language_choice.h"

#include <string_view>
#include <vector>

namespace qzb {

// The codes of the languages the utility speaks, for tests run in each of them; the translated
// ones leave English out.
inline std::vector<std::string_view> UiLanguageCodes(bool withEnglish = true)
{
    std::vector<std::string_view> codes;
    for (const CUiLanguage& language : UiLanguages()) {
        if (withEnglish || language.code != kEnglishLanguage) {
            codes.push_back(language.code);
        }
    }
    return codes;
}

inline std::vector<std::string_view> TranslatedLanguageCodes()
{
    return UiLanguageCodes(false);
}

} // namespace qzb
