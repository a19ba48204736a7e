// Comparing a full device with its initial state (every setting and every directory slot
// differs) and laying out every list of a full directory for printing. The baselines copy the
// two states, which every comparison does first, and export the same directory as CSV, which walks
// it entry by entry as the layout does.
#include "addressbook/csv_exchange.h"
#include "app/app_context.h"
#include "pages/state_diff.h"
#include "print/list_layout.h"
#include "tests/support/full_device.h"

#include <benchmark/benchmark.h>

#include <numeric>

namespace qzb {
namespace {

const CFullDevice& Full()
{
    static const CFullDevice full = MakeFullDevice();
    return full;
}

struct CStates
{
    CStates()
        : context(8313)
    {
        before = {context.store, context.device};
        after = {Full().store, Full().device};
    }
    CAppContext context;
    CMachineState before;
    CMachineState after;
};

const CStates& States()
{
    static const CStates states;
    return states;
}

void BM_DiffCopyStates(benchmark::State& state)
{
    for (auto _ : state) {
        CMachineState a = States().before;
        CMachineState b = States().after;
        benchmark::DoNotOptimize(&a);
        benchmark::DoNotOptimize(&b);
    }
}

void BM_DiffWhole(benchmark::State& state)
{
    const CDiffEnv env{&States().context.strings, States().context.modelBit};
    for (auto _ : state) {
        const CStateDiff diff = DiffStates(States().before, States().after, env, DiffScope::Whole);
        benchmark::DoNotOptimize(diff.settings.data());
    }
}

void BM_DiffServiceUpload(benchmark::State& state)
{
    const CDiffEnv env{&States().context.strings, States().context.modelBit};
    for (auto _ : state) {
        const CStateDiff diff = DiffStates(States().before, States().after, env, DiffScope::ServiceUpload);
        benchmark::DoNotOptimize(diff.settings.data());
    }
}

// Fixed-pitch text as the list font draws it at 600 dpi.
class CFixedMeasure : public ITextMeasure
{
public:
    std::int32_t TextWidth(PrintFont font, std::u16string_view text) const override
    {
        return static_cast<std::int32_t>(text.size()) * (font == PrintFont::List ? 60 : 42);
    }
    std::int32_t LineHeight(PrintFont font) const override { return font == PrintFont::List ? 110 : 80; }
};

void BM_PrintCsvBaseline(benchmark::State& state)
{
    const TextLookup labels = [](std::string_view) { return std::u16string(u"Group %02d"); };
    for (auto _ : state) {
        const std::string csv = BuildAddressBookCsv(Full().device.book, Full().store, labels);
        benchmark::DoNotOptimize(csv.data());
    }
}

void BM_PrintLayOutAllLists(benchmark::State& state)
{
    CPrintSource source;
    source.book = &Full().device.book;
    source.groupLabelFormat = u"Group %02d";
    source.today = kFullDeviceDate;
    CPrintSelection selection{true, true, true, {}, {}, {}};
    selection.speedNumbers.resize(250);
    std::iota(selection.speedNumbers.begin(), selection.speedNumbers.end(), 1);
    selection.groupNumbers.resize(20);
    std::iota(selection.groupNumbers.begin(), selection.groupNumbers.end(), 1);
    selection.favouriteNumbers = selection.groupNumbers;
    const CPageMetrics a4{4760, 6779, 600, 600};
    const CFixedMeasure measure;
    std::size_t pages = 0;
    for (auto _ : state) {
        const CPrintDocument document = LayOutLists(source, selection, a4, measure);
        pages = document.pages.size();
        benchmark::DoNotOptimize(document.pages.data());
    }
    state.counters["pages"] = static_cast<double>(pages);
}

BENCHMARK(BM_DiffCopyStates);
BENCHMARK(BM_DiffWhole);
BENCHMARK(BM_DiffServiceUpload);
BENCHMARK(BM_PrintCsvBaseline);
BENCHMARK(BM_PrintLayOutAllLists);

} // namespace
} // namespace qzb
