// Export and import of a full address book (all 290 lines filled), with a copy of the same
// bytes as the baseline.
#include "addressbook/csv_exchange.h"
#include "tests/support/full_device.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <vector>

namespace qzb {
namespace {

const TextLookup& Labels()
{
    static const TextLookup labels = [](std::string_view) { return std::u16string(u"Group %02d"); };
    return labels;
}

const CFullDevice& Full()
{
    static const CFullDevice full = MakeFullDevice();
    return full;
}

const std::string& FullCsv()
{
    static const std::string csv = BuildAddressBookCsv(Full().device.book, Full().store, Labels());
    return csv;
}

void SetBytes(benchmark::State& state)
{
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * FullCsv().size()));
}

void BM_CsvMemcpy(benchmark::State& state)
{
    const std::string& csv = FullCsv();
    std::vector<char> copy(csv.size());
    for (auto _ : state) {
        std::memcpy(copy.data(), csv.data(), csv.size());
        benchmark::DoNotOptimize(copy.data());
        benchmark::ClobberMemory();
    }
    SetBytes(state);
}

void BM_CsvExport(benchmark::State& state)
{
    for (auto _ : state) {
        const std::string csv = BuildAddressBookCsv(Full().device.book, Full().store, Labels());
        benchmark::DoNotOptimize(csv.data());
    }
    SetBytes(state);
}

void BM_CsvImport(benchmark::State& state)
{
    CAddressBook book;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ParseAddressBookCsv(FullCsv(), book, Full().store, kFullDeviceDate));
    }
    SetBytes(state);
}

BENCHMARK(BM_CsvMemcpy);
BENCHMARK(BM_CsvExport);
BENCHMARK(BM_CsvImport);

} // namespace
} // namespace qzb
