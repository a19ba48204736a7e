// Decode and encode of a full machine image against a plain copy of the same bytes. The last line
// puts the round trip in proportion to the copy.
#include "machine/image_decoder.h"
#include "machine/image_encoder.h"
#include "tests/support/full_device.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace qzb {
namespace {

const CEncodeOptions kFileMode{EncodeMode::File, false, kFullDeviceDate};

const std::vector<std::uint8_t>& FullImage()
{
    static const std::vector<std::uint8_t> image = [] {
        CFullDevice full = MakeFullDevice();
        return EncodeMachineImage(full.device, full.store, kFileMode);
    }();
    return image;
}

void SetBytes(benchmark::State& state)
{
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * FullImage().size()));
}

void BM_Memcpy(benchmark::State& state)
{
    const std::vector<std::uint8_t>& image = FullImage();
    std::vector<std::uint8_t> copy(image.size());
    for (auto _ : state) {
        std::memcpy(copy.data(), image.data(), image.size());
        benchmark::DoNotOptimize(copy.data());
        benchmark::ClobberMemory();
    }
    SetBytes(state);
}

// Every pass starts from an empty directory, as opening a file or a download does.
void BM_Decode(benchmark::State& state)
{
    CFullDevice target;
    for (auto _ : state) {
        target.device.book.Clear();
        benchmark::DoNotOptimize(DecodeMachineImage(target.device, target.store, FullImage()));
    }
    SetBytes(state);
}

void BM_Encode(benchmark::State& state)
{
    CFullDevice full = MakeFullDevice();
    for (auto _ : state) {
        const std::vector<std::uint8_t> image = EncodeMachineImage(full.device, full.store, kFileMode);
        benchmark::DoNotOptimize(image.data());
    }
    SetBytes(state);
}

void BM_RoundTrip(benchmark::State& state)
{
    CFullDevice target;
    for (auto _ : state) {
        target.device.book.Clear();
        DecodeMachineImage(target.device, target.store, FullImage());
        const std::vector<std::uint8_t> image = EncodeMachineImage(target.device, target.store, kFileMode);
        benchmark::DoNotOptimize(image.data());
    }
    SetBytes(state);
}

BENCHMARK(BM_Memcpy);
BENCHMARK(BM_Decode);
BENCHMARK(BM_Encode);
BENCHMARK(BM_RoundTrip);

// Keeps the time per pass of each benchmark for the closing ratio: the median when repeated.
class CRatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (median || (run.run_type == Run::RT_Iteration && !m_median.contains(run.run_name.function_name))) {
                m_times[run.run_name.function_name] = run.GetAdjustedRealTime();
            }
            if (median) {
                m_median.insert(run.run_name.function_name);
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    double Time(const std::string& name) const
    {
        const auto found = m_times.find(name);
        return found == m_times.end() ? 0.0 : found->second;
    }

private:
    std::map<std::string, double> m_times; // in each run's time unit, nanoseconds for all of these
    std::set<std::string> m_median;
};

} // namespace
} // namespace qzb

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    qzb::CRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double copy = reporter.Time("BM_Memcpy");
    const double roundTrip = reporter.Time("BM_RoundTrip");
    if (copy > 0 && roundTrip > 0) {
        std::printf("image of %zu bytes: decode + encode takes %.1f times the memcpy (target: within 50)\n",
                    qzb::FullImage().size(),
                    roundTrip / copy);
    }
    benchmark::Shutdown();
    return 0;
}
