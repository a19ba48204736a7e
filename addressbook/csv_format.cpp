#include "addressbook/csv_format.h"

#include "addressbook/address_records.h"
#include "addressbook/csv_exchange.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace qzb {

std::string CsvKey(std::string_view prefix, int number, int width)
{
    std::string digits = std::to_string(number);
    digits.insert(0, static_cast<std::size_t>(std::max(0, width - static_cast<int>(digits.size()))), '0');
    return std::string(prefix) + digits;
}

const std::vector<std::string>& CsvKeys()
{
    static const std::vector<std::string> keys = [] {
        std::vector<std::string> list;
        list.reserve(kCsvLines);
        for (int n = kFirstGroupNumber; n <= kLastGroupNumber; ++n) {
            list.push_back(CsvKey("OTD", n, 2));
        }
        for (int n = kFirstFaxMailNumber; n <= kLastScanNumber; ++n) {
            list.push_back(CsvKey("SPD", n, 3));
        }
        for (int n = kFirstFavouriteNumber; n <= kLastFavouriteNumber; ++n) {
            list.push_back(CsvKey("DHD", n, 2));
        }
        return list;
    }();
    return keys;
}

std::filesystem::path WithCsvExtension(const std::filesystem::path& path)
{
    std::string name = path.string();
    std::string tail = name.size() >= 4 ? name.substr(name.size() - 4) : name;
    std::transform(tail.begin(), tail.end(), tail.begin(), [](unsigned char c) { return std::tolower(c); });
    return tail == ".csv" ? path : std::filesystem::path(name + ".csv");
}

std::int32_t CsvLineOfKey(std::string_view key)
{
    // The prefix says where its block starts and the number where the key lies in it.
    struct CBlock
    {
        std::string_view prefix;
        std::size_t firstLine;
        int first;
        int last;
    };
    static constexpr CBlock kBlocks[] = {
        {"OTD", 0, kFirstGroupNumber, kLastGroupNumber},
        {"SPD", kLastGroupNumber - kFirstGroupNumber + 1, kFirstFaxMailNumber, kLastScanNumber},
        {"DHD",
         (kLastGroupNumber - kFirstGroupNumber + 1) + (kLastScanNumber - kFirstFaxMailNumber + 1),
         kFirstFavouriteNumber,
         kLastFavouriteNumber},
    };
    int number = 0;
    if (key.size() <= 3 || std::from_chars(key.data() + 3, key.data() + key.size(), number).ec != std::errc()) {
        return 0;
    }
    const auto& keys = CsvKeys();
    for (const CBlock& block : kBlocks) {
        if (key.substr(0, 3) == block.prefix && number >= block.first && number <= block.last) {
            const std::size_t line = block.firstLine + static_cast<std::size_t>(number - block.first);
            return keys[line] == key ? static_cast<std::int32_t>(line) + 1 : 0;
        }
    }
    return 0;
}

} // namespace qzb
