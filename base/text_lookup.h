#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace qzb {

// Looks up a user-visible text by key (the string table), for core code that builds texts the
// user sees (device information rows, group labels of an export).
using TextLookup = std::function<std::u16string(std::string_view key)>;

} // namespace qzb
