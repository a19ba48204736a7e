#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace qzb {

// Formats a translated text that carries one integer directive such as "%d", "%i" or "%02d":
// the number takes the place of the first one; everything else stands as it is, so a translation
// can never make the formatting read arguments that are not there.
std::u16string FormatNumberText(std::u16string_view format, std::int64_t number);

// Puts each insert in place of the next "%s"; the inserts are taken literally, so a "%s" inside
// one is never filled again.
std::u16string FillInserts(std::u16string text, std::span<const std::u16string> inserts);

} // namespace qzb
