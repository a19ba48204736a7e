#include "addressbook/csv_format.h"

#include "addressbook/address_records.h"
#include "addressbook/csv_exchange.h"

#include <algorithm>
#include <cctype>

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
    const auto& keys = CsvKeys();
    const auto found = std::find(keys.begin(), keys.end(), key);
    return found == keys.end() ? 0 : static_cast<std::int32_t>(found - keys.begin()) + 1;
}

} // namespace qzb
