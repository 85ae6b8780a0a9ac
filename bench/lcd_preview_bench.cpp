// The desktop preview after a model change: a 480 x 320 panel full of shown
// pictures (one full-screen picture and 60 icons of 48 x 48) drawn "As on the
// panel", with the profile switched before every drawing so that each picture's
// panel copy is made again. Runs on the offscreen platform.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <cstdint>
#include <memory>

#include "bench_support.h"
#include "core/settings/model_profile.h"
#include "core/workspace/picture_list.h"
#include "gui/lcd_preview.h"

namespace {

using pictor::bench::FullPanelList;
using pictor::bench::PanelProfile;
using pictor::settings::ModelProfile;

// Args: depth, dither mode (0 none, 1 ordered, 2 Floyd-Steinberg).
void BM_PreviewAfterModelChange(benchmark::State& state) {
    pictor::workspace::PictureList list = FullPanelList();
    const int depth = static_cast<int>(state.range(0));
    const int dither = static_cast<int>(state.range(1));
    // Two models that differ only in the background: every change drops the copies.
    const ModelProfile models[] = {PanelProfile(depth, dither, 0),
                                   PanelProfile(depth, dither, 0xFFFFFF)};
    pictor::gui::LcdPreview preview(list);
    preview.SetPanelTrue(true);
    std::size_t turn = 0;
    for (auto _ : state) {
        preview.SetProfile(models[turn++ % 2]);
        const QImage panel = preview.Render();
        benchmark::DoNotOptimize(panel.constBits());
    }
    state.counters["copies/iter"] =
        static_cast<double>(preview.PanelConversions()) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_PreviewAfterModelChange)
    ->ArgsProduct({{1, 4, 16, 24}, {0, 2}})
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
