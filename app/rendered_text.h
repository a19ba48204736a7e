#pragma once

#include "base/keyed_text.h"
#include "base/text_lookup.h"

#include <string>

namespace qzb {

class CStringTable;

// A keyed text as the user reads it: each key's text from the lookup, its numbered places %1 to %9
// filled with its values (rendered the same way, so a value may be a keyed text itself). A place
// without a value and every other '%' stay as they stand; a key no lookup knows shows as itself.
std::u16string RenderText(const CKeyedText& text, const TextLookup& lookup);
// The same from the running string table, or the English the utility ships where the table lacks
// a key; strings may be null (no table loaded yet).
std::u16string RenderText(const CKeyedText& text, const CStringTable* strings);
// The same as UTF-8, for the command line, the log and the window's labels.
std::string RenderTextUtf8(const CKeyedText& text, const CStringTable* strings);

} // namespace qzb
