#pragma once

// Machine images and DAT files as bytes: the common ground of the image codec, fidelity and DAT
// file tests.

#include "machine/image_encoder.h"
#include "model/machine_image.h"
#include "tests/support/full_device.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <vector>

namespace qzb {

using Bytes = std::vector<std::uint8_t>;

// 30 June 2025 as a packed set date: the day the images of these tests are written.
inline constexpr std::uint16_t kImageDate = (25 << 9) | (6 << 5) | 30;

inline Bytes Encode(CFullDevice& full, EncodeMode mode = EncodeMode::File, bool serviceMan = false)
{
    return EncodeMachineImage(full.device, full.store, CEncodeOptions{mode, serviceMan, kImageDate});
}

// The data of the image's first entry with the given id.
inline std::optional<Bytes> FindEntry(const Bytes& image, std::uint32_t id)
{
    CImageReader reader(image);
    for (CImageEntry entry; reader.Next(entry);) {
        if (entry.id == id) {
            return Bytes(entry.data.begin(), entry.data.end());
        }
    }
    return std::nullopt;
}

inline void WriteAll(const std::filesystem::path& path, const Bytes& bytes)
{
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

} // namespace qzb
