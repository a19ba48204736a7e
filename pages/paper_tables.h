#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace qzb {

// A paper size: its bit in the size sets of the tray rules, its name and its stored value.
struct CPaperSize
{
    std::uint32_t bit;
    std::string_view textKey;
    std::int32_t value;
};

// A tray-1 media: the radio button, the stored value, its class bit in the size rules, the model
// bits that offer it, and its name on the configuration page.
struct CPaperMedia
{
    std::int32_t radioId;
    std::int32_t value;
    std::uint32_t classBit;
    std::uint32_t modelMask;
    std::string_view nameKey;
};

std::span<const CPaperSize> PaperSizes();
std::span<const CPaperMedia> PaperMedia();

// The size name of a stored value; empty when no size has it.
std::string_view PaperSizeKey(std::int32_t value);
// The media name of a stored value; values no media has read as plain paper.
std::string_view PaperMediaKey(std::int32_t value);

} // namespace qzb
