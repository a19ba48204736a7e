#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qzb {

// Formats a translated text that carries one integer directive such as "%d", "%i" or "%02d":
// the number takes the place of the first one; everything else stands as it is, so a translation
// can never make the formatting read arguments that are not there.
std::u16string FormatNumberText(std::u16string_view format, std::int64_t number);

} // namespace qzb
