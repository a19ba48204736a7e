#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace qzb {

// A machine image is a plain run of entries {u32 parameter id, u32 length, data}, little-endian,
// with no header: the carrier (a transfer or a file) gives its size.
inline constexpr std::size_t kEntryHeaderSize = 8;

struct CImageEntry
{
    std::uint32_t id = 0;
    std::span<const std::uint8_t> data;
};

std::uint32_t ReadLe(std::span<const std::uint8_t> bytes); // up to the first 4 bytes
std::uint16_t ReadLe16(std::span<const std::uint8_t> bytes, std::size_t offset);
void WriteLe16(std::span<std::uint8_t> bytes, std::size_t offset, std::uint16_t value);

// True when the entries fill the image exactly: every length stays inside it.
bool IsWellFormedImage(std::span<const std::uint8_t> image);

// Walks a well-formed image entry by entry.
class CImageReader
{
public:
    explicit CImageReader(std::span<const std::uint8_t> image)
        : m_image(image)
    {
    }
    // False at the end, or at an entry that would run past the end.
    bool Next(CImageEntry& entry);

private:
    std::span<const std::uint8_t> m_image;
    std::size_t m_offset = 0;
};

class CImageWriter
{
public:
    void Reserve(std::size_t bytes) { m_bytes.reserve(bytes); }
    void Append(std::uint32_t id, std::span<const std::uint8_t> data);
    void AppendNumber(std::uint32_t id, std::uint32_t value, std::size_t length);
    // Appends an entry of length zero bytes and hands out its data to be filled in place; the
    // span is good until the next append.
    std::span<std::uint8_t> AppendZeroed(std::uint32_t id, std::size_t length);
    const std::vector<std::uint8_t>& Bytes() const { return m_bytes; }
    std::vector<std::uint8_t> Take() { return std::move(m_bytes); }

private:
    std::vector<std::uint8_t> m_bytes;
};

} // namespace qzb
