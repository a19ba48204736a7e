#pragma once

#include <cstddef>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace qzb {

// Gives every registered speed dial of an exported CSV file a kind the device does not know, as a
// file edited by hand might; returns how many lines it spoiled, each of which an import leaves out.
inline std::size_t SpoilSpeedDialKinds(const std::filesystem::path& csv)
{
    std::ifstream in(csv, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    in.close();
    std::size_t spoiled = 0;
    for (std::size_t at = text.find("\nSPD"); at != std::string::npos; at = text.find("\nSPD", at + 1)) {
        const std::size_t kind = text.find(',', at) + 1;
        if (text.compare(kind, 3, "NA,") != 0) {
            text.replace(kind, text.find(',', kind) - kind, "XYZ");
            ++spoiled;
        }
    }
    std::ofstream(csv, std::ios::binary) << text;
    return spoiled;
}

} // namespace qzb
