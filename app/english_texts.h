#pragma once

#include <string>
#include <string_view>

namespace qzb {

// The English text of a key as the utility ships it, compiled in: what a window shows where a
// translated string table lacks the key. Empty when no shipped table has the key.
std::u16string EnglishText(std::string_view key);

} // namespace qzb
