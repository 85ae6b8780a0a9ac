// Picture decoding: the core's own PNG and run-length bitmap decoders beside Qt's
// readers on the same files (480 x 320, written by Qt, so compressed as usual).
//   build/default/bench/picture_decode_bench
// The first argument picks the picture: 0 RGB 8-bit PNG, 1 RGBA 8-bit PNG,
// 2 RGBA 16-bit PNG, 3 RLE8 bitmap.

#include <benchmark/benchmark.h>

#include <QImage>
#include <QImageReader>
#include <QString>
#include <array>
#include <cstdint>
#include <filesystem>
#include <string>

#include "core/workspace/picture_loader.h"
#include "support/bitmap_files.h"
#include "support/temp_dir.h"

namespace {

constexpr int kWidth = 480;
constexpr int kHeight = 320;

// A picture with smooth areas and edges, so it compresses as photos and drawings do.
QImage Picture(QImage::Format format) {
    QImage image(kWidth, kHeight, QImage::Format_ARGB32);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const int band = (x / 40 + y / 32) % 4;
            image.setPixel(
                x, y,
                qRgba((x * 255) / kWidth, (y * 255) / kHeight, band * 60, 255 - (x % 64) * 2));
        }
    }
    return image.convertToFormat(format);
}

// An 8-bit run-length bitmap of horizontal runs of 16 pixels.
pictor::test::Bytes RunLengthBitmap() {
    pictor::test::BitmapLayout layout;
    layout.width = kWidth;
    layout.height = kHeight;
    layout.bitCount = 8;
    layout.compression = 1;
    for (int i = 0; i < 256; ++i) {
        layout.palette.push_back(static_cast<std::uint32_t>(i * 0x010203) & 0xFFFFFFU);
    }
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; x += 16) {
            layout.pixels.push_back(16);
            layout.pixels.push_back(static_cast<std::uint8_t>(x / 16 + y));
        }
        layout.pixels.push_back(0);
        layout.pixels.push_back(y + 1 == kHeight ? 1 : 0);
    }
    return pictor::test::BuildBitmap(layout);
}

class Files {
  public:
    Files() {
        Picture(QImage::Format_RGB32).save(Path(0), "PNG");
        Picture(QImage::Format_ARGB32).save(Path(1), "PNG");
        Picture(QImage::Format_RGBA64).save(Path(2), "PNG");
        pictor::test::WriteBytes(Path(3).toStdString(), RunLengthBitmap());
    }
    [[nodiscard]] QString Path(std::int64_t kind) const {
        static constexpr std::array<const char*, 4> kNames{"rgb.png", "rgba.png", "rgba16.png",
                                                           "rle8.bmp"};
        return QString::fromStdString(
            (dir_.Path() / kNames[static_cast<std::size_t>(kind)]).string());
    }

  private:
    pictor::test::TempDir dir_;
};

const Files& TheFiles() {
    static const Files files;
    return files;
}

void BM_DecodeCore(benchmark::State& state) {
    const std::filesystem::path path = TheFiles().Path(state.range(0)).toStdString();
    for (auto _ : state) {
        auto picture = pictor::workspace::LoadPicture(path);
        if (!picture) {
            state.SkipWithError("the picture does not load");
            return;
        }
        benchmark::DoNotOptimize(picture->pixels.data());
    }
    state.counters["MPixel/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kWidth * kHeight / 1e6,
                           benchmark::Counter::kIsRate);
}

void BM_DecodeQt(benchmark::State& state) {
    const QString path = TheFiles().Path(state.range(0));
    for (auto _ : state) {
        QImageReader reader(path);
        QImage image = reader.read().convertToFormat(QImage::Format_ARGB32);
        if (image.isNull()) {
            state.SkipWithError("the picture does not load");
            return;
        }
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["MPixel/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kWidth * kHeight / 1e6,
                           benchmark::Counter::kIsRate);
}

}  // namespace

BENCHMARK(BM_DecodeCore)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeQt)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
