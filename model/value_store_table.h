#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace qzb {

struct CInitialValue
{
    std::string_view key;
    std::string_view text; // ANSI text (these initial texts are plain ASCII)
    std::int32_t number;
};

struct CInitialPage
{
    std::string_view name;
    std::span<const CInitialValue> values;
};

// The 32 page lists in the order FindPageRecords compares page names.
std::span<const CInitialPage> InitialValueStorePages();

} // namespace qzb
