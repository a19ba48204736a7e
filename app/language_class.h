#pragma once

#include <cstdint>
#include <string_view>

namespace qzb {

// Character-set class of the user interface language, judged from the translation of "No"
// ("STR_MSG_BTN_NO"): 1920 Western European, 2048 Japanese, 64 Russian, 63 anything else.
inline constexpr std::string_view kLanguageProbeKey = "STR_MSG_BTN_NO";
inline constexpr std::int32_t kLanguageClassOther = 63;
inline constexpr std::int32_t kLanguageClassRussian = 64;
inline constexpr std::int32_t kLanguageClassWestern = 1920;
inline constexpr std::int32_t kLanguageClassJapanese = 2048;

std::int32_t LanguageClassFor(std::u16string_view noButtonText);

} // namespace qzb
