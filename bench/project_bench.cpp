// Opening a project of 512 pictures (48 x 48 bitmaps with position trailers):
// reading the project file, and building the picture list from it (every picture
// imported, thumbnails included), as the desktop application and
// pictor-cli convert --project do.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include "core/common/message.h"
#include "core/workspace/project_file.h"
#include "support/bitmap_files.h"

namespace {

namespace fs = std::filesystem;
using namespace pictor::workspace;

constexpr int kPictures = 512;

struct ProjectWorkload {
    fs::path dir;
    fs::path file;

    ProjectWorkload() {
        dir = fs::temp_directory_path() / ("pictor-project-bench-" + std::to_string(::getpid()));
        fs::create_directories(dir / "pictures");
        Project project;
        for (int i = 0; i < kPictures; ++i) {
            pictor::test::Bytes bytes =
                pictor::test::SolidBitmap(48, 48, static_cast<std::uint32_t>(i) * 0x010203u);
            bytes.insert(bytes.end(), {0x61, 0x56, 0x61, 0x56, static_cast<std::uint8_t>(i), 0});
            const fs::path path = dir / "pictures" / ("icon" + std::to_string(i) + ".bmp");
            pictor::test::WriteBytes(path, bytes);
            project.pictures.push_back({path, i % 2 == 0, ProjectPosition{i % 400, i / 4}, {}});
        }
        file = dir / "bench.pictor";
        SaveProject(file, project);
    }
    ~ProjectWorkload() {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
    ProjectWorkload(const ProjectWorkload&) = delete;
    ProjectWorkload& operator=(const ProjectWorkload&) = delete;
};

const ProjectWorkload& Workload() {
    static const ProjectWorkload workload;
    return workload;
}

void BM_LoadProjectFile(benchmark::State& state) {
    const ProjectWorkload& workload = Workload();
    for (auto _ : state) {
        ProjectLoadResult result = LoadProject(workload.file);
        benchmark::DoNotOptimize(result.project.pictures.data());
    }
}
BENCHMARK(BM_LoadProjectFile)->Unit(benchmark::kMillisecond);

void BM_OpenProject512(benchmark::State& state) {
    const ProjectWorkload& workload = Workload();
    pictor::NullMessageSink sink;
    for (auto _ : state) {
        const ProjectLoadResult result = LoadProject(workload.file);
        PictureList list = BuildPictureList(result.project, sink);
        benchmark::DoNotOptimize(list.Size());
    }
}
BENCHMARK(BM_OpenProject512)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
