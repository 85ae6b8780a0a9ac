// Opening a project of 512 pictures in the desktop application and painting the
// window once: 480 icons (48 x 48) and 32 full-screen pictures (320 x 240), all
// shown on the preview, in a temporary directory. Runs on the offscreen platform;
// pin it to one core (taskset -c 0) to compare with the one-core target.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "bench_support.h"
#include "core/workspace/picture_import.h"
#include "core/workspace/project_file.h"
#include "gui/main_window.h"
#include "support/bitmap_files.h"
#include "unattended_dialogs.h"

namespace {

namespace fs = std::filesystem;

constexpr int kIcons = 480;
constexpr int kScreens = 32;

// Discards unsaved changes when asked; otherwise confirms the configuration and
// answers everything else with cancel.
class Unattended final : public pictor::bench::UnattendedDialogs {
  public:
    QMessageBox::StandardButton Ask(QWidget* /*parent*/, const pictor::Message& /*message*/,
                                    QMessageBox::StandardButtons buttons,
                                    QMessageBox::StandardButton defaultButton) override {
        return buttons.testFlag(QMessageBox::Discard) ? QMessageBox::Discard : defaultButton;
    }
};

struct Workload {
    fs::path dir;
    fs::path project;

    Workload() {
        dir = fs::temp_directory_path() / ("pictor-open-bench-" + std::to_string(::getpid()));
        fs::create_directories(dir);
        std::ofstream(dir / "Pictor.ini")
            << "[COMMON]\nLCD_TYPE=320x240\nMODEL_COUNT=1\nMODEL_NAME0=Panel\nCURRENT_MODE=0\n"
               "[Panel]\nCOLOR_DEPTH=16\nCOLOR_TYPE=1\nCONVERT_DIRECTION=0\nOUT_DATA_TYPE=0\n"
               "MIN_ALLOCATE_SIZE=1\nBLOCK_COL_NUM=0\nBKCOLOR=0\n";
        pictor::workspace::Project content;
        content.model = "Panel";
        for (int i = 0; i < kIcons + kScreens; ++i) {
            const bool screen = i < kScreens;
            const fs::path path = dir / ("p" + std::to_string(1000 + i) + ".bmp");
            pictor::bench::WritePatternBitmap(path, screen ? 320 : 48, screen ? 240 : 48,
                                              static_cast<std::uint32_t>(i));
            pictor::workspace::ProjectPicture picture;
            picture.path = path;
            picture.shown = true;
            picture.position = pictor::workspace::ProjectPosition{(i * 7) % 280, (i * 5) % 200};
            content.pictures.push_back(picture);
        }
        project = dir / "bench.pictor";
        pictor::workspace::SaveProject(project, content);
    }
    ~Workload() {
        std::error_code ignored;
        fs::remove_all(dir, ignored);
    }
    Workload(const Workload&) = delete;
    Workload& operator=(const Workload&) = delete;
};

void BM_OpenProjectAndPaint(benchmark::State& state) {
    static Workload workload;
    Unattended dialogs;
    QDir::setCurrent(QString::fromStdString(workload.dir.string()));
    pictor::gui::MainWindow window(workload.dir / "Pictor.ini", dialogs);
    if (!window.Start()) {
        state.SkipWithError("the configuration was not confirmed");
        return;
    }
    window.resize(1280, 800);
    window.show();
    for (auto _ : state) {
        if (!window.OpenProject(QString::fromStdString(workload.project.string()))) {
            state.SkipWithError("the project did not open");
            return;
        }
        // The first paint of the whole window: list rows, thumbnails and preview.
        benchmark::DoNotOptimize(window.grab());
    }
    state.counters["pictures"] = static_cast<double>(window.Pictures().Size());
}
BENCHMARK(BM_OpenProjectAndPaint)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Recent projects and window state go to a scratch configuration directory.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
