#include "app/english_texts.h"

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

} // namespace qzb
