// What picture operations cost a conversion: the 200-picture workload (24-bit
// 480 x 320 bitmaps, as bench/make-workload writes them) converted at 16 bits the
// way pictor-cli does (sizes at import, pictures decoded by the workers), once as
// they are and once with every picture rotated by 90 degrees and scaled back to
// 480 x 320 with the nearest filter, so both write the same number of bytes. The
// goal: the median of the second at most 20 % above the first's. Also times the
// operations alone on one decoded picture.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "bench_support.h"
#include "core/common/message.h"
#include "core/conversion/convert_operation.h"
#include "core/conversion/pixel_encoder.h"
#include "core/workspace/entry_pictures.h"
#include "core/workspace/picture_import.h"
#include "core/workspace/picture_loader.h"
#include "core/workspace/picture_operations.h"

namespace {

namespace fs = std::filesystem;
using namespace pictor;

constexpr int kPictures = 200;
constexpr int kWidth = 480;
constexpr int kHeight = 320;

struct Workload {
    bench::BenchFolder folder{"pictor-ops-bench"};
    fs::path dir = folder.Path();
    std::vector<std::string> paths;

    Workload() {
        for (int i = 0; i < kPictures; ++i) {
            char name[16];
            std::snprintf(name, sizeof name, "p%03d.bmp", i);
            bench::WritePatternBitmap(dir / name, kWidth, kHeight, 20161u + 4096u * i);
            paths.push_back((dir / name).string());
        }
    }
};

Workload& TheWorkload() {
    static Workload workload;
    return workload;
}

workspace::PictureOperations RotateAndScale() {
    workspace::PictureOperations operations;
    operations.rotate = 90;
    operations.scale = {workspace::ScaleMode::Exact, kWidth, kHeight};
    operations.filter = workspace::ScaleFilter::Nearest;
    return operations;
}

settings::ModelProfile Rgb565() {
    settings::ModelProfile profile;
    profile.colorDepth = 16;
    profile.colorType = 1;
    profile.pixelsPerByte = 1;
    bench::SetStandardCodes(profile);
    return profile;
}

// range(0): 0 plain, 1 every picture rotated and scaled.
void BM_ConvertWorkload(benchmark::State& state) {
    const Workload& workload = TheWorkload();
    const bool operated = state.range(0) != 0;
    const settings::ModelProfile profile = Rgb565();
    NullMessageSink messages;
    conversion::ConvertOptions options;
    options.outputDir = workload.dir / "out";
    options.writeTrailers = false;
    for (auto _ : state) {
        workspace::PictureList list;
        workspace::ImportPictures(list, workload.paths, messages,
                                  {.openForWriting = false, .keepPixels = false});
        if (operated) {
            for (std::size_t i = 0; i < list.Size(); ++i) {
                workspace::SetEntryOperations(list.At(i), RotateAndScale());
            }
        }
        if (!conversion::Convert(list, profile, options, messages).success) {
            state.SkipWithError("conversion failed");
            break;
        }
    }
    state.counters["MPixel/s"] = benchmark::Counter(kPictures * kWidth * kHeight / 1e6,
                                                    benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_ConvertWorkload)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);

// Encoding one picture's rows at 16 bits, straight from the file's bytes (range 0)
// or gathered through the rotation and the nearest scale (range 1).
void BM_EncodeRows(benchmark::State& state) {
    const Workload& workload = TheWorkload();
    const std::optional<workspace::PictureRows> rows =
        state.range(0) != 0 ? workspace::OpenOperatedRows(workload.paths[0], RotateAndScale())
                            : workspace::OpenPictureRows(workload.paths[0]);
    const settings::ModelProfile profile = Rgb565();
    std::vector<std::uint8_t> out;
    for (auto _ : state) {
        out.clear();
        conversion::EncodePicture(*rows, profile, out);
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["MPixel/s"] =
        benchmark::Counter(kWidth * kHeight / 1e6, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_EncodeRows)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The operations alone on one decoded picture (no file, no encoding): the gather
// of a rotation with a nearest scale, and an area scale.
void BM_OperateDecoded(benchmark::State& state) {
    const workspace::PixelImage source = bench::Gradient(kWidth, kHeight, 7);
    workspace::PictureOperations operations = RotateAndScale();
    if (state.range(0) != 0) {
        operations.filter = workspace::ScaleFilter::Area;
    }
    for (auto _ : state) {
        workspace::PixelImage result = workspace::ApplyOperations(source, operations);
        benchmark::DoNotOptimize(result.pixels.data());
    }
    state.counters["MPixel/s"] =
        benchmark::Counter(kWidth * kHeight / 1e6, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_OperateDecoded)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
