#include "model/machine_image.h"

#include <algorithm>
#include <cstring>

namespace qzb {

std::uint32_t ReadLe(std::span<const std::uint8_t> bytes)
{
    std::uint32_t value = 0;
    const std::size_t count = std::min<std::size_t>(bytes.size(), 4);
    for (std::size_t i = 0; i < count; ++i) {
        value |= static_cast<std::uint32_t>(bytes[i]) << (8 * i);
    }
    return value;
}

std::uint16_t ReadLe16(std::span<const std::uint8_t> bytes, std::size_t offset)
{
    if (offset + 2 > bytes.size()) {
        return 0;
    }
    return static_cast<std::uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
}

void WriteLe16(std::span<std::uint8_t> bytes, std::size_t offset, std::uint16_t value)
{
    if (offset + 2 <= bytes.size()) {
        bytes[offset] = static_cast<std::uint8_t>(value & 0xFF);
        bytes[offset + 1] = static_cast<std::uint8_t>(value >> 8);
    }
}

bool CImageReader::Next(CImageEntry& entry)
{
    if (m_image.size() - m_offset < kEntryHeaderSize) {
        return false;
    }
    const std::uint32_t id = ReadLe(m_image.subspan(m_offset, 4));
    const std::uint32_t length = ReadLe(m_image.subspan(m_offset + 4, 4));
    if (length > m_image.size() - m_offset - kEntryHeaderSize) {
        return false;
    }
    entry.id = id;
    entry.data = m_image.subspan(m_offset + kEntryHeaderSize, length);
    m_offset += kEntryHeaderSize + length;
    return true;
}

bool IsWellFormedImage(std::span<const std::uint8_t> image)
{
    std::size_t offset = 0;
    while (offset < image.size()) {
        if (image.size() - offset < kEntryHeaderSize) {
            return false;
        }
        const std::uint32_t length = ReadLe(image.subspan(offset + 4, 4));
        if (length > image.size() - offset - kEntryHeaderSize) {
            return false;
        }
        offset += kEntryHeaderSize + length;
    }
    return true;
}

void CImageWriter::Append(std::uint32_t id, std::span<const std::uint8_t> data)
{
    const auto length = static_cast<std::uint32_t>(data.size());
    const std::size_t at = m_bytes.size();
    m_bytes.resize(at + kEntryHeaderSize + data.size());
    std::uint8_t* out = m_bytes.data() + at;
    for (int i = 0; i < 4; ++i) {
        out[i] = static_cast<std::uint8_t>(id >> (8 * i));
        out[4 + i] = static_cast<std::uint8_t>(length >> (8 * i));
    }
    if (!data.empty()) {
        std::memcpy(out + kEntryHeaderSize, data.data(), data.size());
    }
}

std::span<std::uint8_t> CImageWriter::AppendZeroed(std::uint32_t id, std::size_t length)
{
    const std::size_t at = m_bytes.size();
    m_bytes.resize(at + kEntryHeaderSize + length);
    std::uint8_t* out = m_bytes.data() + at;
    for (int i = 0; i < 4; ++i) {
        out[i] = static_cast<std::uint8_t>(id >> (8 * i));
        out[4 + i] = static_cast<std::uint8_t>(length >> (8 * i));
    }
    return {out + kEntryHeaderSize, length};
}

void CImageWriter::AppendNumber(std::uint32_t id, std::uint32_t value, std::size_t length)
{
    std::uint8_t bytes[8] = {};
    for (std::size_t i = 0; i < length && i < sizeof(bytes); ++i) {
        bytes[i] = i < 4 ? static_cast<std::uint8_t>(value >> (8 * i)) : 0;
    }
    Append(id, std::span<const std::uint8_t>(bytes, std::min<std::size_t>(length, sizeof(bytes))));
}

} // namespace qzb
