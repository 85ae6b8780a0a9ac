// A whole download into pictor-sim over a pseudo-terminal with an emulated
// 256000 baud wire: how close the host comes to the protocol's minimum time, and
// how much CPU it spends waiting.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <ctime>

#include "core/device/device_link.h"
#include "core/device/flash_layout.h"
#include "core/device/serial_port.h"
#include "support/sim_process.h"
#include "support/temp_dir.h"

namespace {

using namespace pictor::device;
using Seconds = std::chrono::duration<double>;

constexpr int kBaud = 256000;
constexpr std::size_t kImageBytes = 256 * 1024;

class SilentSinks final : public pictor::ProgressSink, public pictor::MessageSink {
  public:
    void SetProgress(int) override {}
    void SetStatus(const std::string&) override {}
    void Show(const pictor::Message&) override {}
};

double ProcessCpuSeconds() {
    // std::clock counts the CPU time of every thread of the process.
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

/// The least a kind-5 download of `imageBytes` can take: the line time of every
/// byte sent and received plus the fixed pauses, with a module that answers at
/// once (erase and program times 0).
///
/// With `overlapDataPause` the 10 ms pause after a sector's data runs while that
/// data is still on the wire (a write returns once the driver has queued the
/// bytes, and the pause starts then), so a sector costs the longer of the two
/// rather than their sum: the tighter bound a host can actually reach.
Seconds ProtocolMinimum(std::size_t imageBytes, bool overlapDataPause) {
    const auto lineSeconds = [](std::size_t bytes) {
        return Seconds(static_cast<double>(bytes) * 10.0 / kBaud);
    };
    const Seconds exchangePause = DeviceProtocol::kExchangePause;
    const Seconds dataPause = DeviceProtocol::kSectorDataPause;
    const EraseRange range = EraseRangeFor(2, 2048);
    const std::size_t sectors = (imageBytes + 511) / 512;
    Seconds total = lineSeconds(ConnectFrame(true).size() + 2) + exchangePause;
    total += static_cast<double>(range.endBlock - range.firstBlock) *
             (lineSeconds(EraseBlockFrame(0).size() + 2) + exchangePause);
    const std::size_t headerBytes = WriteSectorFrame(0, 512, true).size() + 2;
    const std::size_t dataBytes = 512 + 2;
    const std::size_t answerBytes = 2;
    const Seconds data = lineSeconds(dataBytes);
    const Seconds dataAndPause = overlapDataPause ? std::max(data, dataPause) : data + dataPause;
    total += static_cast<double>(sectors) *
             (lineSeconds(headerBytes) + dataAndPause + lineSeconds(answerBytes));
    return total;
}

void BM_DownloadKind5(benchmark::State& state) {
    pictor::test::TempDir dir;
    std::string content(kImageBytes, '\0');
    for (std::size_t i = 0; i < content.size(); ++i) {
        content[i] = static_cast<char>(i * 131 + i / 512);
    }
    pictor::test::WriteFile(dir / "image.bin", content);
    const Seconds minimum = ProtocolMinimum(kImageBytes, false);
    const Seconds reachable = ProtocolMinimum(kImageBytes, true);
    for (auto _ : state) {
        pictor::test::SimProcess sim(
            PICTOR_SIM_PATH, {"--kind", "5", "--line-rate", std::to_string(kBaud), "--erase-ms",
                              "0", "--program-ms", "0"});
        auto port = std::make_unique<SerialPort>();
        if (sim.Port().empty() || !port->Open(sim.Port(), kBaud)) {
            state.SkipWithError("pictor-sim did not start");
            return;
        }
        DeviceLink link(DeviceState{});
        SilentSinks sinks;
        link.AttachLine(std::move(port), sinks);
        DownloadRequest request;
        request.filePath = dir / "image.bin";
        const double cpuBefore = ProcessCpuSeconds();
        const auto start = std::chrono::steady_clock::now();
        link.StartDownload(request, sinks, sinks);
        const DownloadResult result = *link.Wait();
        const Seconds wall = std::chrono::steady_clock::now() - start;
        const double cpu = ProcessCpuSeconds() - cpuBefore;
        if (result.outcome != Outcome::Ok) {
            state.SkipWithError(result.message.text.c_str());
            return;
        }
        state.SetIterationTime(wall.count());
        state.counters["measured_s"] = wall.count();
        state.counters["minimum_s"] = minimum.count();
        state.counters["ratio"] = wall.count() / minimum.count();
        state.counters["overlap_minimum_s"] = reachable.count();
        state.counters["overlap_ratio"] = wall.count() / reachable.count();
        state.counters["cpu_share_pct"] = 100.0 * cpu / wall.count();
        std::printf(
            "download of %zu bytes (kind 5, %d baud): measured %.3f s\n"
            "  protocol minimum (line time of every byte + every pause): %.3f s, ratio %.4f "
            "(target <= 1.05)\n"
            "  minimum with the 10 ms data pause overlapping the data on the wire: %.3f s, "
            "ratio %.4f\n"
            "  CPU %.3f s = %.2f %% of wall time (target < 5 %%)\n",
            kImageBytes, kBaud, wall.count(), minimum.count(), wall.count() / minimum.count(),
            reachable.count(), wall.count() / reachable.count(), cpu, 100.0 * cpu / wall.count());
    }
}

BENCHMARK(BM_DownloadKind5)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();
