#pragma once

#include <string_view>

namespace qzb {

// The one shape check of an e-mail address, shared by the entry editors, the pages and the CSV
// import's report: an "@" that is neither first nor last, and no second "@". An empty text fails.
bool IsEmailAddress(std::u16string_view text);

} // namespace qzb
