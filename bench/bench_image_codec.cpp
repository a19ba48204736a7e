// Decode and encode of a full machine image against a plain copy of the same bytes. The closing
// lines put the round trip and the CSV exchange in proportion to their copies.
#include "machine/image_decoder.h"
#include "machine/image_encoder.h"
#include "tests/support/full_device.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <tuple>
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
                m_cpuTimes[run.run_name.function_name] = run.GetAdjustedCPUTime();
            }
            if (median) {
                m_median.insert(run.run_name.function_name);
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    double Time(const std::string& name) const { return Find(m_times, name); }
    // On a busy machine the real time counts the waits for a core too; the CPU time does not.
    double CpuTime(const std::string& name) const { return Find(m_cpuTimes, name); }

private:
    static double Find(const std::map<std::string, double>& times, const std::string& name)
    {
        const auto found = times.find(name);
        return found == times.end() ? 0.0 : found->second;
    }

    std::map<std::string, double> m_times; // in each run's time unit, nanoseconds for all of these
    std::map<std::string, double> m_cpuTimes;
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
        std::printf("image of %zu bytes: decode + encode takes %.1f times the memcpy, %.1f in CPU time (target: "
                    "within 40)\n",
                    qzb::FullImage().size(),
                    roundTrip / copy,
                    reporter.CpuTime("BM_RoundTrip") / reporter.CpuTime("BM_Memcpy"));
    }
    // The CSV exchange of a full book (bench_csv_exchange.cpp), against a copy of its bytes.
    const double csvCopy = reporter.Time("BM_CsvMemcpy");
    for (const auto& [name, label, target] :
         {std::tuple{"BM_CsvImport", "import", 60.0}, std::tuple{"BM_CsvExport", "export", 100.0}}) {
        if (const double time = reporter.Time(name); time > 0 && csvCopy > 0) {
            std::printf("CSV %s of a full book: %.1f us, %.1f us CPU time, %.0f times the memcpy (target: within "
                        "%.0f us)\n",
                        label,
                        time / 1000.0,
                        reporter.CpuTime(name) / 1000.0,
                        time / csvCopy,
                        target);
        }
    }
    benchmark::Shutdown();
    return 0;
}
