// Throughput of the conversion on a generated workload: 40 full-screen pictures
// (480 x 320) and 180 icons (48 x 48), written as 24-bit bitmaps into a temporary
// directory. Reports MPixel/s for encoding alone, decoding alone (picture import,
// and plain file decoding) and the whole conversion (import + convert + write),
// and the ratio of the whole conversion's time to the decoding's.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "bench_support.h"
#include "core/common/message.h"
#include "core/conversion/convert_operation.h"
#include "core/conversion/pixel_encoder.h"
#include "core/settings/model_profile.h"
#include "core/workspace/picture_import.h"
#include "core/workspace/picture_list.h"
#include "core/workspace/picture_loader.h"
#include "support/bitmap_files.h"

namespace {

namespace fs = std::filesystem;
using pictor::bench::SetStandardCodes;
using pictor::bench::WritePatternBitmap;
using pictor::settings::ModelProfile;

constexpr int kScreens = 40;
constexpr int kIcons = 180;

struct Workload {
    pictor::bench::BenchFolder folder{"pictor-bench"};
    fs::path dir = folder.Path();
    std::vector<std::string> paths;
    double megapixels = 0;

    Workload() {
        std::uint32_t state = 12345;
        for (int i = 0; i < kScreens + kIcons; ++i) {
            const bool screen = i < kScreens;
            const int width = screen ? 480 : 48;
            const int height = screen ? 320 : 48;
            char name[32];
            std::snprintf(name, sizeof name, "%s%03d.bmp", screen ? "screen" : "icon", i);
            WritePatternBitmap(dir / name, width, height, state += 7919);
            paths.push_back((dir / name).string());
            megapixels += width * height / 1e6;
        }
    }
};

Workload& TheWorkload() {
    static Workload workload;
    return workload;
}

ModelProfile ProfileForDepth(int depth) {
    ModelProfile profile;
    profile.colorDepth = depth;
    profile.pixelsPerByte = pictor::settings::PixelsPerByte(depth);
    if (depth == 16) {
        profile.colorType = 1;
    }
    SetStandardCodes(profile);
    return profile;
}

void SetRate(benchmark::State& state, double megapixels) {
    state.counters["MPixel/s"] =
        benchmark::Counter(megapixels, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_EncodeOnly(benchmark::State& state) {
    const Workload& workload = TheWorkload();
    std::vector<pictor::workspace::PixelImage> images;
    for (const auto& path : workload.paths) {
        images.push_back(*pictor::workspace::LoadPicture(path));
    }
    const ModelProfile profile = ProfileForDepth(static_cast<int>(state.range(0)));
    std::vector<std::uint8_t> out;
    for (auto _ : state) {
        for (const auto& image : images) {
            out.clear();
            pictor::conversion::EncodePicture(image, profile, out);
            benchmark::DoNotOptimize(out.data());
        }
    }
    SetRate(state, workload.megapixels);
}

void BM_DecodeOnly(benchmark::State& state) {
    const Workload& workload = TheWorkload();
    for (auto _ : state) {
        for (const auto& path : workload.paths) {
            auto image = pictor::workspace::LoadPicture(path);
            benchmark::DoNotOptimize(image);
        }
    }
    SetRate(state, workload.megapixels);
}

void BM_ImportOnly(benchmark::State& state) {
    const Workload& workload = TheWorkload();
    pictor::NullMessageSink messages;
    for (auto _ : state) {
        pictor::workspace::PictureList list;
        pictor::workspace::ImportPictures(list, workload.paths, messages,
                                          {.openForWriting = false});
        benchmark::DoNotOptimize(list.Size());
    }
    SetRate(state, workload.megapixels);
}

void BM_WholeConversion(benchmark::State& state) {
    const Workload& workload = TheWorkload();
    const ModelProfile profile = ProfileForDepth(static_cast<int>(state.range(0)));
    pictor::NullMessageSink messages;
    pictor::conversion::ConvertOptions options;
    options.outputDir = workload.dir / "out";
    options.writeTrailers = false;
    for (auto _ : state) {
        pictor::workspace::PictureList list;
        pictor::workspace::ImportPictures(list, workload.paths, messages,
                                          {.openForWriting = false});
        const auto result = pictor::conversion::Convert(list, profile, options, messages);
        if (!result.success) {
            state.SkipWithError("conversion failed");
            break;
        }
    }
    SetRate(state, workload.megapixels);
}

// Encoding straight from the bitmap files' rows (the command line's path): the
// files' bytes are in memory, each row is decoded and encoded at once. One thread.
void BM_EncodeFromFileRows(benchmark::State& state) {
    const Workload& workload = TheWorkload();
    std::vector<pictor::workspace::PictureRows> pictures;
    for (const auto& path : workload.paths) {
        pictures.push_back(*pictor::workspace::OpenPictureRows(path));
    }
    const ModelProfile profile = ProfileForDepth(static_cast<int>(state.range(0)));
    std::vector<std::uint8_t> out;
    for (auto _ : state) {
        for (const auto& picture : pictures) {
            out.clear();
            pictor::conversion::EncodePicture(picture, profile, out);
            benchmark::DoNotOptimize(out.data());
        }
    }
    SetRate(state, workload.megapixels);
}

// The command line's conversion: sizes only at import, pictures decoded from their
// files during the conversion by `jobs` workers (0 = one per core).
void BM_StreamingConversion(benchmark::State& state) {
    const Workload& workload = TheWorkload();
    const ModelProfile profile = ProfileForDepth(16);
    pictor::NullMessageSink messages;
    pictor::conversion::ConvertOptions options;
    options.outputDir = workload.dir / "out";
    options.writeTrailers = false;
    options.jobs = static_cast<unsigned>(state.range(0));
    for (auto _ : state) {
        pictor::workspace::PictureList list;
        pictor::workspace::ImportPictures(list, workload.paths, messages,
                                          {.openForWriting = false, .keepPixels = false});
        const auto result = pictor::conversion::Convert(list, profile, options, messages);
        if (!result.success) {
            state.SkipWithError("conversion failed");
            break;
        }
    }
    SetRate(state, workload.megapixels);
}

BENCHMARK(BM_EncodeOnly)->Arg(16)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EncodeFromFileRows)->Arg(16)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StreamingConversion)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WholeConversion)->Arg(16)->Arg(1)->Unit(benchmark::kMillisecond);

// Keeps the times of every run so the ratios can be printed at the end.
class TimeReporter final : public benchmark::ConsoleReporter {
  public:
    struct Times {
        double cpu = 0;
        double real = 0;
    };
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration) {
                times[run.benchmark_name()] = {run.GetAdjustedCPUTime(), run.GetAdjustedRealTime()};
            }
        }
    }
    std::map<std::string, Times> times;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    TimeReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto& times = reporter.times;
    const double megapixels = TheWorkload().megapixels;
    std::printf("\nWorkload: %d pictures (%d of 480x320, %d of 48x48), %.2f MPixel\n",
                kScreens + kIcons, kScreens, kIcons, megapixels);
    std::printf(
        "MPixel/s columns above are per CPU second (one core); wall-clock figures below.\n");
    for (const auto& [name, t] : times) {
        std::printf("%-24s %8.1f MPixel/s CPU, %8.1f MPixel/s wall\n", name.c_str(),
                    megapixels / t.cpu * 1e3, megapixels / t.real * 1e3);
    }
    const auto import = times.find("BM_ImportOnly");
    const auto decode = times.find("BM_DecodeOnly");
    for (const char* depth : {"16", "1"}) {
        const auto whole = times.find(std::string("BM_WholeConversion/") + depth);
        if (whole == times.end() || import == times.end() || decode == times.end()) {
            continue;
        }
        std::printf(
            "depth %2s: whole conversion / import-only: %.2f CPU, %.2f wall; "
            "/ decode-only: %.2f CPU, %.2f wall\n",
            depth, whole->second.cpu / import->second.cpu, whole->second.real / import->second.real,
            whole->second.cpu / decode->second.cpu, whole->second.real / decode->second.real);
    }
    benchmark::Shutdown();
    return 0;
}
