// Importing many large pictures into the desktop application: how long the event
// loop stalls and the window goes without a repaint during the import, and the
// memory the process holds afterwards. Writes COUNT 24-bit WIDTH x HEIGHT bitmaps
// into a temporary directory, imports them into a shown main window on the
// offscreen platform while a 10 ms timer asks the preview to repaint, and prints
// the figures.
//
// usage: gui_import_bench [COUNT [WIDTH [HEIGHT]]]   (default 512 800 480)

#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "gui/lcd_preview.h"
#include "gui/main_window.h"
#include "support/bitmap_files.h"
#include "unattended_dialogs.h"

namespace {

namespace fs = std::filesystem;

// Prints the messages it is shown; otherwise confirms the configuration and
// answers everything else with cancel.
class Unattended final : public pictor::bench::UnattendedDialogs {
  public:
    void ShowMessage(QWidget* /*parent*/, const pictor::Message& message) override {
        std::fprintf(stderr, "message: %s\n", message.text.c_str());
    }
};

// A bottom-up 24-bit bitmap whose bytes follow a fixed linear congruential stream.
void WriteBitmap(const fs::path& path, int width, int height, std::uint32_t state) {
    pictor::test::BitmapLayout layout;
    layout.width = width;
    layout.height = height;
    const auto rowBytes = static_cast<std::size_t>((width * 3 + 3) & ~3);
    layout.pixels.resize(rowBytes * static_cast<std::size_t>(height));
    for (std::uint8_t& byte : layout.pixels) {
        state = state * 1664525u + 1013904223u;
        byte = static_cast<std::uint8_t>(state >> 24);
    }
    pictor::test::WriteBytes(path, pictor::test::BuildBitmap(layout));
}

// Resident and peak resident memory of this process, in MiB, from /proc.
std::pair<double, double> MemoryMiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    double rss = 0;
    double peak = 0;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) {
            rss = std::atof(line.c_str() + 6) / 1024.0;
        } else if (line.rfind("VmHWM:", 0) == 0) {
            peak = std::atof(line.c_str() + 6) / 1024.0;
        }
    }
    return {rss, peak};
}

}  // namespace

int main(int argc, char** argv) {
    const int count = argc > 1 ? std::atoi(argv[1]) : 512;
    const int width = argc > 2 ? std::atoi(argv[2]) : 800;
    const int height = argc > 3 ? std::atoi(argv[3]) : 480;
    if (count <= 0 || width <= 0 || height <= 0) {
        std::fprintf(stderr, "usage: gui_import_bench [COUNT [WIDTH [HEIGHT]]]\n");
        return 2;
    }

    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Recent projects and window state go to a scratch configuration directory.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);

    QTemporaryDir work;
    const fs::path dir(work.path().toStdString());
    std::ofstream(dir / "Pictor.ini")
        << "[COMMON]\nLCD_TYPE=800x480\nMODEL_COUNT=1\nMODEL_NAME0=Panel\nCURRENT_MODE=0\n"
           "[Panel]\nCOLOR_DEPTH=16\nCOLOR_TYPE=1\nCONVERT_DIRECTION=0\nOUT_DATA_TYPE=0\n"
           "MIN_ALLOCATE_SIZE=1\nBLOCK_COL_NUM=0\nBKCOLOR=0\n";
    QStringList paths;
    for (int i = 0; i < count; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "p%03d.bmp", i);
        WriteBitmap(dir / name, width, height, static_cast<std::uint32_t>(i));
        paths << QString::fromStdString((dir / name).string());
    }

    Unattended dialogs;
    QDir::setCurrent(work.path());
    pictor::gui::MainWindow window(dir / "Pictor.ini", dialogs);
    if (!window.Start()) {
        std::fprintf(stderr, "the configuration was not confirmed\n");
        return 1;
    }
    window.resize(1280, 800);
    window.show();
    QCoreApplication::processEvents();
    const auto [rssBefore, peakBefore] = MemoryMiB();

    // Every 10 ms the preview is asked to repaint; the gaps between its paints and
    // between the timer's own turns show how long the window was unresponsive.
    QElapsedTimer clock;
    clock.start();
    qint64 lastTick = -1;
    qint64 lastPaint = -1;
    qint64 longestTick = 0;
    qint64 longestPaint = 0;
    int paints = 0;
    pictor::gui::LcdPreview& preview = window.Preview();
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, &window, [&] {
        const qint64 now = clock.elapsed();
        if (lastTick >= 0) {
            longestTick = std::max(longestTick, now - lastTick);
        }
        lastTick = now;
        preview.update();
        // Painting the widget as the platform would: the time between two paints
        // is the longest the user sees a frozen window.
        preview.repaint();
        const qint64 painted = clock.elapsed();
        if (lastPaint >= 0) {
            longestPaint = std::max(longestPaint, painted - lastPaint);
        }
        lastPaint = painted;
        ++paints;
    });
    ticker.start(10);
    preview.repaint();
    const qint64 start = clock.elapsed();
    lastTick = start;
    lastPaint = start;
    window.ImportPaths(paths);
    const qint64 end = clock.elapsed();
    const qint64 elapsed = end - start;
    ticker.stop();
    // The stretch from the last paint during the import to its end counts too (a
    // window frozen for the whole import has that single gap).
    longestTick = std::max(longestTick, end - lastTick);
    longestPaint = std::max(longestPaint, end - lastPaint);
    const qint64 finalStretch = end - lastPaint;
    const auto [rssAfter, peakAfter] = MemoryMiB();

    std::printf("pictures imported:          %zu of %d (%dx%d)\n", window.Pictures().Size(), count,
                width, height);
    std::printf("import wall time:           %lld ms\n", static_cast<long long>(elapsed));
    std::printf("repaints during the import: %d\n", paints);
    std::printf("longest gap between paints: %lld ms\n", static_cast<long long>(longestPaint));
    std::printf("longest event-loop stall:   %lld ms\n", static_cast<long long>(longestTick));
    std::printf("last paint to the import's end (list rebuilt, sorted): %lld ms\n",
                static_cast<long long>(finalStretch));
    std::printf("resident before / after:    %.1f / %.1f MiB\n", rssBefore, rssAfter);
    std::printf("peak resident (whole run):  %.1f MiB (%.1f before the import)\n", peakAfter,
                peakBefore);
    return window.Pictures().Size() == static_cast<std::size_t>(count) ? 0 : 1;
}
