#include "app/rendered_text.h"

#include "app/english_texts.h"
#include "model/text_codec.h"

namespace qzb {

std::u16string RenderText(const CKeyedText& text, const TextLookup& lookup)
{
    if (text.key.empty()) {
        return Utf8ToUtf16(text.value);
    }
    std::u16string format = lookup ? lookup(text.key) : std::u16string();
    if (format.empty()) {
        format = Utf8ToUtf16(text.key);
    }
    std::u16string out;
    out.reserve(format.size());
    for (std::size_t i = 0; i < format.size(); ++i) {
        const char16_t next = i + 1 < format.size() ? format[i + 1] : u'\0';
        const std::size_t place = next >= u'1' && next <= u'9' ? static_cast<std::size_t>(next - u'1') : 0;
        if (format[i] == u'%' && next >= u'1' && next <= u'9' && place < text.values.size()) {
            out += RenderText(text.values[place], lookup);
            ++i;
        } else {
            out += format[i];
        }
    }
    return out;
}

std::u16string RenderText(const CKeyedText& text, const CStringTable* strings)
{
    return RenderText(text, [strings](std::string_view key) { return TranslatedText(strings, key); });
}

std::string RenderTextUtf8(const CKeyedText& text, const CStringTable* strings)
{
    return Utf16ToUtf8(RenderText(text, strings));
}

} // namespace qzb
