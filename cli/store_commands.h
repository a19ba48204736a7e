#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <string_view>

namespace qzb {

class CValueStore;
struct CSettingCheck;

// The usage text for a page the store does not have (naming its pages) or a key the page does
// not have (naming the page's keys); nothing when both are known. Without a key the page alone
// is checked.
std::optional<std::string>
UnknownSettingText(const CValueStore& store, std::string_view page, std::optional<std::string_view> key);

// Why set refuses a value, in words for the error line.
std::string SettingRefusalText(const CSettingCheck& check, std::string_view page, std::string_view key, bool number);

// qzbctl keys [PAGE]: the store's pages, or the keys of one page, one a line (a key listed twice
// on a page once). An unknown page is a usage error.
int RunKeys(const std::optional<std::string>& page, std::ostream& out, std::ostream& err);

} // namespace qzb
