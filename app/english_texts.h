#pragma once

#include "base/text_lookup.h"

#include <string>
#include <string_view>

namespace qzb {

class CStringTable;

// The English text of a key as the utility ships it, compiled in: what a window shows where a
// translated string table lacks the key. Empty when no shipped table has the key.
std::u16string EnglishText(std::string_view key);

// The text of a key in the running model's string table, or the English the utility ships where
// the table (or a translated table) lacks it. An empty key has no text; strings may be null.
std::u16string TranslatedText(const CStringTable* strings, std::string_view key);
// The same as a lookup for code that builds texts; the table must outlive the lookup.
TextLookup TranslatedTexts(const CStringTable& strings);

} // namespace qzb
