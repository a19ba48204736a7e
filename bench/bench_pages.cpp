// The page host offscreen: creating every page of the largest model, reloading them after a
// download, and one page switch with its repaint. Baselines: the same number of plain labels in a
// grid, and the repaint of an empty widget of the host's size.
#include "app/app_context.h"
#include "app/messenger.h"
#include "pages/page_registry.h"
#include "ui/main/qt_message_presenter.h"
#include "ui/pages/main_item_dlg.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QGridLayout>
#include <QLabel>

#include <cstdlib>
#include <filesystem>
#include <memory>

namespace qzb {
namespace {

std::unique_ptr<CAppContext> LargestModel()
{
    auto context = std::make_unique<CAppContext>(8313);
    context->strings.LoadFile(std::filesystem::path(QZB_BUILD_DATA_DIR) / "M8120QZBSTR.tbl");
    return context;
}

std::size_t ControlCount(std::uint32_t modelBit)
{
    std::size_t count = 0;
    for (const CPageDef* def : PageDefsForModel(modelBit)) {
        count += def->controls.size();
    }
    return count;
}

void BM_LabelGridBaseline(benchmark::State& state)
{
    const std::size_t count = ControlCount(1);
    for (auto _ : state) {
        QWidget widget;
        auto* grid = new QGridLayout(&widget);
        for (std::size_t i = 0; i < count; ++i) {
            grid->addWidget(new QLabel("Label", &widget), static_cast<int>(i), 0);
        }
        benchmark::DoNotOptimize(widget.sizeHint());
    }
    state.counters["controls"] = static_cast<double>(count);
}

void BM_CreateAllPages(benchmark::State& state)
{
    const auto context = LargestModel();
    CQtMessagePresenter presenter;
    CMessenger messenger(context->strings, presenter);
    for (auto _ : state) {
        CMainItemDlg host(*context, messenger);
        host.CreateSettingsPages();
        benchmark::DoNotOptimize(host.CreateOfferedPages());
    }
}

void BM_ReloadAllPages(benchmark::State& state)
{
    const auto context = LargestModel();
    CQtMessagePresenter presenter;
    CMessenger messenger(context->strings, presenter);
    CMainItemDlg host(*context, messenger);
    host.CreateSettingsPages();
    host.CreateOfferedPages();
    for (auto _ : state) {
        host.ReloadAllPages();
    }
}

void BM_RepaintBaseline(benchmark::State& state)
{
    QWidget widget;
    widget.resize(600, 420);
    widget.show();
    for (auto _ : state) {
        widget.repaint();
    }
}

void BM_PageSwitch(benchmark::State& state)
{
    const auto context = LargestModel();
    CQtMessagePresenter presenter;
    CMessenger messenger(context->strings, presenter);
    CMainItemDlg host(*context, messenger);
    host.CreateSettingsPages();
    host.CreateOfferedPages();
    host.resize(600, 420);
    host.show();
    const std::uint32_t pages[] = {0x04000002, 0x04000001};
    std::size_t next = 0;
    for (auto _ : state) {
        host.ShowPage(pages[next++ % 2]);
        host.repaint();
    }
}

BENCHMARK(BM_LabelGridBaseline)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CreateAllPages)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReloadAllPages)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RepaintBaseline)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PageSwitch)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace qzb

int main(int argc, char** argv)
{
    if (!std::getenv("QT_QPA_PLATFORM")) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
