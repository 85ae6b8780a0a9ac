// pictor-sim: plays the LCD module on a pseudo-terminal, for tests, demos and
// work without hardware. Prints "port: /dev/pts/N" and serves until SIGINT or
// SIGTERM.
#include <CLI/CLI.hpp>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "sim/flash_memory.h"
#include "sim/line_server.h"
#include "sim/module_simulator.h"
#include "sim/sim_options.h"
#include "version/program_version.h"

namespace {

namespace fs = std::filesystem;
using pictor::sim::ModuleSettings;

// Five bytes beside the flash file: address, baud index, backlight, foreground,
// background. A missing or short file leaves the defaults.
ModuleSettings LoadSettings(const fs::path& path) {
    ModuleSettings settings;
    std::ifstream in(path, std::ios::binary);
    std::array<char, 5> bytes{};
    if (in.read(bytes.data(), bytes.size())) {
        settings = {static_cast<std::uint8_t>(bytes[0]), static_cast<std::uint8_t>(bytes[1]),
                    static_cast<std::uint8_t>(bytes[2]), static_cast<std::uint8_t>(bytes[3]),
                    static_cast<std::uint8_t>(bytes[4])};
    }
    return settings;
}

void SaveSettings(const fs::path& path, const ModuleSettings& settings) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    const std::array<char, 5> bytes{
        static_cast<char>(settings.address), static_cast<char>(settings.baudIndex),
        static_cast<char>(settings.backlight), static_cast<char>(settings.foreground),
        static_cast<char>(settings.background)};
    out.write(bytes.data(), bytes.size());
}

std::string Hex(std::span<const std::uint8_t> bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    for (const std::uint8_t b : bytes) {
        if (!text.empty()) {
            text.push_back(' ');
        }
        text.push_back(kDigits[b >> 4]);
        text.push_back(kDigits[b & 0x0F]);
    }
    return text;
}

// CLI11 check for command codes.
std::string CheckCommandCode(const std::string& text) {
    return pictor::sim::ParseCommandCode(text) ? std::string{}
                                               : "not a command code 90..97: " + text;
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{
        "Plays the LCD module on a pseudo-terminal; prints \"port: <path>\" and serves "
        "until SIGINT or SIGTERM."};
    app.set_version_flag("--version", "pictor-sim " + std::string(pictor::ProgramVersion()));

    int kind = 1;
    std::string flashPath;
    int lineRate = 0;
    int eraseMs = 0;
    int programMs = 0;
    std::string logPath;
    std::vector<std::string> noReply;
    std::vector<std::string> shortReply;
    std::string connectReply;
    int crcRejections = 0;
    std::int64_t corruptSector = -1;
    int noise = 0;
    int stray = 0;
    int hangUpAfter = -1;

    app.add_option("--kind", kind,
                   "flash kind reported by connect (1..5; 1 = plain sectors, "
                   "2..5 = sectors with CRC)")
        ->check(CLI::Range(1, 5));
    app.add_option("--flash", flashPath,
                   "file that keeps the flash across runs (created erased; its size must match "
                   "the kind: 8, 8, 16, 32, 2 MiB); the settings go to FILE.settings");
    app.add_option("--line-rate", lineRate,
                   "emulated wire speed in baud (bytes move at BAUD/10 "
                   "per second); 0 = no pacing")
        ->check(CLI::Range(0, 100'000'000));
    app.add_option("--erase-ms", eraseMs, "time to erase a block before its answer")
        ->check(CLI::Range(0, 600'000));
    app.add_option("--program-ms", programMs, "time to program a sector before its final answer")
        ->check(CLI::Range(0, 600'000));
    app.add_option("--log", logPath, "write every request frame in hex, one per line");
    app.add_option("--no-reply", noReply,
                   "never answer this command (hex 90..97 or 0x.., or decimal; 92 = only the final "
                   "answer after a sector's data); repeatable")
        ->check(CheckCommandCode);
    app.add_option("--short-reply", shortReply,
                   "answer this command with its first byte only (a sector read: 511 data bytes "
                   "and nothing after); repeatable")
        ->check(CheckCommandCode);
    app.add_option("--connect-reply", connectReply,
                   "answer connect with these hex bytes, e.g. 9107")
        ->check([](const std::string& text) {
            return pictor::sim::ParseHexBytes(text) ? std::string{} : "not hex bytes: " + text;
        });
    app.add_option("--crc-reject", crcRejections,
                   "answer the first N sectors written with a CRC with 92 00")
        ->check(CLI::Range(0, 1'000'000));
    app.add_option("--corrupt-readback", corruptSector,
                   "invert the first byte of this absolute flash sector (byte address / 512) "
                   "whenever it is read; e.g. 4096 is the first sector of an image at 2 MiB")
        ->check(CLI::Range(std::int64_t{0}, std::int64_t{0xFFFFFFFF}));
    app.add_option("--noise", noise, "send N noise bytes just before the first answer")
        ->check(CLI::Range(0, 65535));
    app.add_option("--stray", stray,
                   "send N stray bytes after every answer to connect, erase and the settings "
                   "frames (before the tool's next request)")
        ->check(CLI::Range(0, 65535));
    app.add_option("--hangup-after", hangUpAfter,
                   "after N programmed sectors, hang up at the next write-sector frame")
        ->check(CLI::Range(0, 1'000'000));
    CLI11_PARSE(app, argc, argv);

    pictor::sim::SimulatorOptions options;
    options.kind = kind;
    options.eraseDelay = std::chrono::milliseconds(eraseMs);
    options.programDelay = std::chrono::milliseconds(programMs);
    for (const auto& code : noReply) {
        options.noReply.insert(*pictor::sim::ParseCommandCode(code));
    }
    for (const auto& code : shortReply) {
        options.shortReply.insert(*pictor::sim::ParseCommandCode(code));
    }
    if (!connectReply.empty()) {
        options.connectReply = pictor::sim::ParseHexBytes(connectReply);
    }
    options.crcRejections = crcRejections;
    if (corruptSector >= 0) {
        options.corruptReadbackSector = static_cast<std::uint32_t>(corruptSector);
    }
    options.noiseBytes = noise;
    options.strayBytes = stray;
    if (hangUpAfter >= 0) {
        options.hangUpAfterSectors = hangUpAfter;
    }

    pictor::sim::FlashMemory flash(pictor::sim::FlashCapacityForKind(kind));
    ModuleSettings settings;
    fs::path settingsPath;
    if (!flashPath.empty()) {
        std::string error;
        if (!flash.OpenFile(flashPath, error)) {
            std::cerr << "pictor-sim: " << error << '\n';
            return 1;
        }
        settingsPath = fs::path(flashPath + ".settings");
        settings = LoadSettings(settingsPath);
    }

    std::ofstream log;
    if (!logPath.empty()) {
        log.open(logPath, std::ios::trunc);
        if (!log) {
            std::cerr << "pictor-sim: cannot write " << logPath << '\n';
            return 1;
        }
    }

    // Block the stop signals before anything else can receive them.
    const pictor::sim::StopSignals stop;
    if (!stop.Valid()) {
        std::cerr << "pictor-sim: cannot watch for signals\n";
        return 1;
    }
    pictor::sim::PseudoTerminal terminal;
    std::string error;
    if (!terminal.Open(error)) {
        std::cerr << "pictor-sim: " << error << '\n';
        return 1;
    }

    pictor::sim::ModuleSimulator simulator(options, std::move(flash), settings);
    if (log.is_open()) {
        simulator.SetFrameObserver(
            [&log](std::span<const std::uint8_t> frame) { log << Hex(frame) << std::endl; });
    }
    pictor::sim::ServeOptions serve;
    serve.lineRate = lineRate;
    if (!settingsPath.empty()) {
        serve.onSettingsChanged = [settingsPath](const ModuleSettings& changed) {
            SaveSettings(settingsPath, changed);
        };
    }

    std::cout << "port: " << terminal.PortPath() << std::endl;
    return pictor::sim::ServeModule(simulator, terminal, stop, serve);
}
