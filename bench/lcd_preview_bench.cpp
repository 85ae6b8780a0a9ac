// The desktop preview after a model change: a 480 x 320 panel full of shown
// pictures (one full-screen picture and 60 icons of 48 x 48) drawn "As on the
// panel", with the profile switched before every drawing so that each picture's
// panel copy is made again. Runs on the offscreen platform.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <cstdint>
#include <memory>

#include "core/settings/model_profile.h"
#include "core/workspace/picture_list.h"
#include "gui/lcd_preview.h"

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
            const auto red = static_cast<std::uint32_t>(x * 255 / width) & 0xFFu;
            const auto green = static_cast<std::uint32_t>(y * 255 / height) & 0xFFu;
            const std::uint32_t blue = (state >> 24) & 0x3Fu;
            image.pixels.push_back(0xFF000000u | (red << 16) | (green << 8) | blue);
        }
    }
    return image;
}

ModelProfile Profile(int depth, int dither, std::uint32_t bkColor) {
    ModelProfile profile;
    profile.colorDepth = depth;
    profile.colorType = 1;
    profile.pixelsPerByte = pictor::settings::PixelsPerByte(depth);
    profile.panelWidth = 480;
    profile.panelHeight = 320;
    profile.dither = dither;
    profile.bkColor = bkColor;
    if (depth == 16) {
        pictor::settings::SetChannelLayout(profile);
    } else if (depth <= 8) {
        for (int code = 0; code < (1 << depth); ++code) {
            profile.colorLevels[static_cast<std::size_t>(code)] =
                static_cast<std::uint8_t>(code << (8 - depth));
        }
    }
    return profile;
}

// Args: depth, dither mode (0 none, 1 ordered, 2 Floyd-Steinberg).
void BM_PreviewAfterModelChange(benchmark::State& state) {
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
    const int depth = static_cast<int>(state.range(0));
    const int dither = static_cast<int>(state.range(1));
    // Two models that differ only in the background: every change drops the copies.
    const ModelProfile models[] = {Profile(depth, dither, 0), Profile(depth, dither, 0xFFFFFF)};
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
