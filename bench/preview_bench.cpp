// Cost of dithering against the plain encode, and of rendering the panel-true
// preview of a 480 x 320 panel full of pictures (one full-screen picture and 60
// icons of 48 x 48), for a grey and a 16-bit model. Pictures are generated in
// memory, so only the pixel work is measured.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "core/conversion/dither.h"
#include "core/conversion/panel_preview.h"
#include "core/conversion/pixel_encoder.h"
#include "core/settings/model_profile.h"
#include "core/workspace/picture_list.h"

namespace {

using pictor::settings::ModelProfile;
using pictor::workspace::PixelImage;

PixelImage Gradient(int width, int height, std::uint32_t state) {
    PixelImage image;
    image.width = width;
    image.height = height;
    image.pixels.reserve(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            state = state * 1664525u + 1013904223u;
            const std::uint32_t red = static_cast<std::uint32_t>(x * 255 / width) & 0xFFu;
            const std::uint32_t green = static_cast<std::uint32_t>(y * 255 / height) & 0xFFu;
            const std::uint32_t blue = (state >> 24) & 0x3Fu;
            image.pixels.push_back(0xFF000000u | (red << 16) | (green << 8) | blue);
        }
    }
    return image;
}

ModelProfile Profile(int depth, int dither) {
    ModelProfile profile;
    profile.colorDepth = depth;
    profile.colorType = 1;
    profile.pixelsPerByte = pictor::settings::PixelsPerByte(depth);
    profile.panelWidth = 480;
    profile.panelHeight = 320;
    profile.dither = dither;
    if (depth == 16) {
        pictor::settings::SetChannelLayout(profile);
    } else {
        for (int code = 0; code < (1 << depth); ++code) {
            profile.colorLevels[static_cast<std::size_t>(code)] =
                static_cast<std::uint8_t>(code << (8 - depth));
        }
    }
    return profile;
}

// Args: depth, dither mode (0 none, 1 ordered, 2 Floyd-Steinberg).
void BM_EncodeScreen(benchmark::State& state) {
    const PixelImage picture = Gradient(480, 320, 7);
    const ModelProfile profile =
        Profile(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    PixelImage storage;
    std::vector<std::uint8_t> out;
    for (auto _ : state) {
        out.clear();
        const PixelImage& pixels = pictor::conversion::DitherForEncoding(picture, profile, storage);
        pictor::conversion::EncodePicture(pixels, profile, out);
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["MPixel/s"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * 480 * 320 / 1e6, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_EncodeScreen)->ArgsProduct({{1, 4, 16}, {0, 1, 2}})->Unit(benchmark::kMillisecond);

// Args: depth, dither mode.
void BM_PanelPreview(benchmark::State& state) {
    pictor::workspace::PictureList list;
    const auto add = [&list](PixelImage image, int left, int top) {
        pictor::workspace::ImageEntry entry;
        entry.width = image.width;
        entry.height = image.height;
        entry.left = left;
        entry.top = top;
        entry.shown = true;
        entry.bitmap = std::make_shared<const PixelImage>(std::move(image));
        list.Append(std::move(entry));
    };
    add(Gradient(480, 320, 1), 0, 0);
    for (int i = 0; i < 60; ++i) {
        add(Gradient(48, 48, static_cast<std::uint32_t>(i)), (i % 10) * 48, (i / 10) * 48);
    }
    const ModelProfile profile =
        Profile(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    for (auto _ : state) {
        const PixelImage panel = pictor::conversion::RenderPanel(list, profile);
        benchmark::DoNotOptimize(panel.pixels.data());
    }
}
BENCHMARK(BM_PanelPreview)->ArgsProduct({{1, 4, 16}, {0, 2}})->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
