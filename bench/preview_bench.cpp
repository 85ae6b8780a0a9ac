// Cost of dithering against the plain encode, and of rendering the panel-true
// preview of a 480 x 320 panel full of pictures (one full-screen picture and 60
// icons of 48 x 48), for a grey and a 16-bit model. Pictures are generated in
// memory, so only the pixel work is measured.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "bench_support.h"
#include "core/conversion/dither.h"
#include "core/conversion/panel_preview.h"
#include "core/conversion/pixel_encoder.h"
#include "core/settings/model_profile.h"
#include "core/workspace/picture_list.h"

namespace {

using pictor::bench::FullPanelList;
using pictor::bench::Gradient;
using pictor::bench::PanelProfile;
using pictor::settings::ModelProfile;
using pictor::workspace::PixelImage;

// Args: depth, dither mode (0 none, 1 ordered, 2 Floyd-Steinberg).
void BM_EncodeScreen(benchmark::State& state) {
    const PixelImage picture = Gradient(480, 320, 7);
    const ModelProfile profile =
        PanelProfile(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    std::vector<std::uint8_t> out;
    for (auto _ : state) {
        out.clear();
        pictor::conversion::EncodeDithered(picture, profile, out);
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["MPixel/s"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * 480 * 320 / 1e6, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_EncodeScreen)->ArgsProduct({{1, 4, 16}, {0, 1, 2}})->Unit(benchmark::kMillisecond);

// Args: depth, dither mode. The dithering alone, without packing the codes.
void BM_QuantiseScreen(benchmark::State& state) {
    const PixelImage picture = Gradient(480, 320, 7);
    const ModelProfile profile =
        PanelProfile(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    pictor::conversion::QuantisedPicture q;
    for (auto _ : state) {
        pictor::conversion::QuantiseForEncoding(picture, profile, q);
        benchmark::DoNotOptimize(q.codes.data());
    }
}
BENCHMARK(BM_QuantiseScreen)->ArgsProduct({{1, 4, 16}, {1, 2}})->Unit(benchmark::kMillisecond);

// Args: depth, dither mode.
void BM_PanelPreview(benchmark::State& state) {
    const pictor::workspace::PictureList list = FullPanelList();
    const ModelProfile profile =
        PanelProfile(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    for (auto _ : state) {
        const PixelImage panel = pictor::conversion::RenderPanel(list, profile);
        benchmark::DoNotOptimize(panel.pixels.data());
    }
}
BENCHMARK(BM_PanelPreview)->ArgsProduct({{1, 4, 16}, {0, 2}})->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
