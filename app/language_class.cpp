#include "app/language_class.h"

namespace qzb {

std::int32_t LanguageClassFor(std::u16string_view text)
{
    auto unit = [text](std::size_t i) -> char16_t { return i < text.size() ? text[i] : u'\0'; };
    const char16_t a = unit(0);
    const char16_t b = unit(1);
    const char16_t c = unit(2);
    if (a == u'N' && (b == u'e' || (b == u'i' && c == u'e'))) {
        return kLanguageClassWestern; // Nein, Nee, Ne, Nej, Nie
    }
    if (a == 0x3044 && b == 0x3044 && c == 0x3048) {
        return kLanguageClassJapanese;
    }
    if (a == 0x041D && b == 0x0435 && c == 0x0442) {
        return kLanguageClassRussian;
    }
    return kLanguageClassOther;
}

} // namespace qzb
