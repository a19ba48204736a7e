#include "app/english_texts.h"

#include "app/string_table.h"
#include "model/text_codec.h"

#include <algorithm>
#include <iterator>

namespace qzb {

namespace {

struct CEnglishText
{
    std::string_view key;
    const char8_t* text;
};

// Sorted by key when generated from the string table source.
constexpr CEnglishText kTexts[] = {
#include "english_texts.inc"
};

} // namespace

std::u16string EnglishText(std::string_view key)
{
    const auto* found = std::lower_bound(
        std::begin(kTexts), std::end(kTexts), key, [](const CEnglishText& row, std::string_view wanted) {
            return row.key < wanted;
        });
    if (found == std::end(kTexts) || found->key != key) {
        return {};
    }
    const std::u8string_view text(found->text);
    return Utf8ToUtf16(std::string_view(reinterpret_cast<const char*>(text.data()), text.size()));
}

std::u16string TranslatedText(const CStringTable* strings, std::string_view key)
{
    if (key.empty()) {
        return {};
    }
    const std::u16string* text = strings != nullptr ? strings->Find(key) : nullptr;
    return text != nullptr ? *text : EnglishText(key);
}

TextLookup TranslatedTexts(const CStringTable& strings)
{
    return [&strings](std::string_view key) { return TranslatedText(&strings, key); };
}

} // namespace qzb
