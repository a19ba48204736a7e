#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace qzb {

// How a parameter's bytes are read. The numeric values are the device utility's own kind codes.
enum class ItemKind : std::uint32_t {
    Number = 0, // little-endian unsigned value of the entry's length
    Text = 1, // byte string without terminator
    Address = 2, // four octets into the row's key with "_1" to "_4"
    Composite = 4, // several store values in a fixed layout
};

enum class CompositeLayout : std::uint8_t { None, DateTime, MemoryReception, Forwarding, OperationBlock };

inline constexpr std::string_view kBufferLengthKey = "buffer length";
inline constexpr std::size_t kItemTableRows = 213;

struct CItemRow
{
    std::string_view key; // "buffer length" for length and composite rows, empty for the operation block
    std::string_view page; // empty for the operation block
    std::uint32_t parameterId;
    ItemKind kind;
    CompositeLayout layout;
};

std::span<const CItemRow> ItemTable();
// First row with the id, as the decoder's linear search finds it; nullptr when no row carries it.
const CItemRow* FindItemRow(std::uint32_t parameterId);

// Longest text in bytes a text row can carry so that it comes back whole: 255 for a text whose
// length travels in a one-byte "buffer length" row before it, the 15-byte field of an SNMP
// community name, else the store's limit (maxStoreBytes).
std::size_t ItemTextLimit(std::size_t rowIndex, std::size_t maxStoreBytes);

} // namespace qzb
