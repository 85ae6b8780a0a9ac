#include <CLI/CLI.hpp>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "cli/commands.h"
#include "cli/device_console.h"
#include "cli/device_options.h"
#include "cli/download_report.h"
#include "cli/interrupt_watcher.h"
#include "core/common/regular_file.h"
#include "core/common/text_format.h"
#include "core/common/translatable.h"
#include "core/device/device_link.h"
#include "core/device/image_buffer.h"
#include "core/device/port_enumeration.h"
#include "core/device/port_open_failure.h"
#include "core/device/serial_port.h"
#include "core/settings/profile_file.h"
#include "core/settings/scom_settings.h"

namespace pictor::cli {

namespace {

using device::ConnectFailure;
using device::ConnectResult;
using device::DeviceLink;
using device::LcdSettings;
using device::Outcome;

/// Settings values of `lcd write` and `download --send-settings`, as ints so that
/// out-of-range values are reported as bad usage rather than cut to a byte.
struct SettingsOptions {
    int address = 255;
    int baudIndex = 3;
    int backlight = 5;
    int foreground = 4;
    int background = 1;

    [[nodiscard]] LcdSettings ToSettings() const {
        return LcdSettings{static_cast<std::uint8_t>(address), static_cast<std::uint8_t>(baudIndex),
                           static_cast<std::uint8_t>(backlight),
                           static_cast<std::uint8_t>(foreground),
                           static_cast<std::uint8_t>(background)};
    }
};

std::vector<CLI::Option*> AddSettingsOptions(CLI::App& command, SettingsOptions& options,
                                             const Streams& streams) {
    return {
        command
            .add_option("--address", options.address,
                        streams.Translate("Cli", "RS485 device address 0..255"))
            ->check(CLI::Range(0, 255)),
        command
            .add_option("--baud-index", options.baudIndex,
                        streams.Translate(
                            "Cli", "baud-rate index 0..6 (1200 2400 4800 9600 19200 57600 115200)"))
            ->check(CLI::Range(0, 6)),
        command
            .add_option("--backlight", options.backlight,
                        streams.Translate("Cli", "backlight level 0..9"))
            ->check(CLI::Range(0, 9)),
        command
            .add_option("--foreground", options.foreground,
                        streams.Translate(
                            "Cli", "foreground colour 0..5 (BLACK BLUE GREEN RED WHITE YELLOW)"))
            ->check(CLI::Range(0, 5)),
        command
            .add_option("--background", options.background,
                        streams.Translate("Cli", "background colour 0..5"))
            ->check(CLI::Range(0, 5)),
    };
}

/// Connect without the magic; reports `failureText` and the reason on failure.
bool ConnectLink(DeviceLink& link, DeviceConsole& console, const char* failureText,
                 ConnectResult* out = nullptr) {
    const std::optional<ConnectResult> result = link.Connect(console);
    if (!result || result->outcome != Outcome::Ok) {
        console.Show(
            Message{failureText, PICTOR_TRANSLATE_NOOP("Core", "信息"), MessageIcon::Stop});
        if (result) {
            console.Explain(ConnectFailureReason(*result, console.Output()));
        }
        return false;
    }
    if (out != nullptr) {
        *out = *result;
    }
    return true;
}

int RunPorts(const Streams& streams) {
    const auto ports = device::ListSerialPorts();
    if (ports.empty()) {
        streams.err << streams.Translate("Cli", "no serial ports found") << "\n";
    }
    for (const auto& port : ports) {
        streams.out << port.path;
        if (!port.description.empty()) {
            streams.out << "  " << port.description;
        }
        streams.out << '\n';
    }
    return kExitOk;
}

int RunConnect(const PortOptions& options, const Streams& streams) {
    DeviceConsole console(streams, ErrIsTerminal(streams));
    const PortChoice choice = ChoosePort(options);
    const auto link = OpenLink(choice, console);
    ConnectResult result;
    if (!link || !ConnectLink(*link, console, PICTOR_TRANSLATE_NOOP("Core", "连接失败"), &result)) {
        return kExitFailed;
    }
    const device::DeviceState state = link->State();
    streams.out << FillPlaceholders(streams.Translate("Cli", "flash kind: %1"),
                                    {std::to_string(result.kind->kind)})
                << '\n'
                << FillPlaceholders(streams.Translate("Cli", "flash type: %1"),
                                    {state.selectedFlashType})
                << '\n'
                << FillPlaceholders(streams.Translate("Cli", "transfer mode: %1"),
                                    {std::to_string(state.transferMode)})
                << '\n'
                << FillPlaceholders(streams.Translate("Cli", "image start sector: %1"),
                                    {std::to_string(state.imageStartSector)})
                << '\n'
                << FillPlaceholders(streams.Translate("Cli", "flash size: %1 MiB"),
                                    {std::to_string(state.flashSizeCode)})
                << '\n';
    return kExitOk;
}

int RunLcdRead(const PortOptions& options, const Streams& streams) {
    DeviceConsole console(streams, ErrIsTerminal(streams));
    const auto link = OpenLink(ChoosePort(options), console);
    if (!link || !ConnectLink(*link, console, PICTOR_TRANSLATE_NOOP("Core", "连接LCM 失败"))) {
        return kExitFailed;
    }
    device::LcdSettingsReply reply;
    const auto outcome = link->ReadSettings(reply, console);
    if (outcome != Outcome::Ok) {
        console.Show(Message{PICTOR_TRANSLATE_NOOP("Core", "读LCD设置数据"),
                             PICTOR_TRANSLATE_NOOP("Core", "失败"), MessageIcon::None});
        return kExitFailed;
    }
    device::LcdSettingsRejects rejects;
    device::ApplySettingsReply(LcdSettings{}, reply, &rejects);
    const std::string kRejected = " " + streams.Translate("Cli", "(out of range, not taken)");
    streams.out << FillPlaceholders(streams.Translate("Cli", "address: %1"),
                                    {std::to_string(int{reply.address})})
                << '\n';
    streams.out << FillPlaceholders(streams.Translate("Cli", "baud: %1"),
                                    {std::to_string(int{reply.baudIndex})});
    if (rejects.baudIndex) {
        streams.out << kRejected << '\n';
    } else {
        streams.out << " (" << device::kLcdBaudRates[reply.baudIndex] << ")\n";
    }
    streams.out << FillPlaceholders(streams.Translate("Cli", "backlight: %1"),
                                    {std::to_string(int{reply.backlight})})
                << (rejects.backlight ? kRejected : "") << '\n';
    auto colour = [&](const std::string& label, std::uint8_t value, bool rejected) {
        streams.out << FillPlaceholders(label, {std::to_string(int{value})});
        if (rejected) {
            streams.out << kRejected << '\n';
        } else {
            streams.out << " (" << device::kLcdColourNames[value] << ")\n";
        }
    };
    colour(streams.Translate("Cli", "foreground: %1"), reply.foreground, rejects.foreground);
    colour(streams.Translate("Cli", "background: %1"), reply.background, rejects.background);
    return kExitOk;
}

int RunLcdWrite(const PortOptions& options, const SettingsOptions& values, const Streams& streams) {
    DeviceConsole console(streams, ErrIsTerminal(streams));
    const auto link = OpenLink(ChoosePort(options), console);
    if (!link || !ConnectLink(*link, console, PICTOR_TRANSLATE_NOOP("Core", "连接LCM 失败"))) {
        return kExitFailed;
    }
    const auto outcome = link->WriteSettings(values.ToSettings(), console);
    const bool ok = outcome == Outcome::Ok;
    console.Show(
        Message{PICTOR_TRANSLATE_NOOP("Core", "写LCD设置数据"),
                ok ? PICTOR_TRANSLATE_NOOP("Core", "成功") : PICTOR_TRANSLATE_NOOP("Core", "失败"),
                ok ? MessageIcon::Information : MessageIcon::None});
    return ok ? kExitOk : kExitFailed;
}

struct DownloadOptions {
    PortOptions port;
    std::string file;
    bool sendSettings = false;
    SettingsOptions values;
    device::EraseScope erase = device::EraseScope::ToEnd;
    std::string since;  // the image the module holds now; empty: a whole download
};

int RunDownload(const DownloadOptions& options, const Streams& streams) {
    DeviceConsole console(streams, ErrIsTerminal(streams));
    device::DownloadRequest request;
    request.source = device::ImageSource::File;
    request.filePath = PathFromUtf8(options.file);
    request.erase = options.erase;
    if (!options.since.empty()) {
        request.previous = device::LoadImageFile(PathFromUtf8(options.since));
        if (!request.previous) {
            console.Explain(FillPlaceholders(
                streams.Translate("Cli",
                                  "pictor-cli: cannot read the old image %1; nothing was sent"),
                {options.since}));
            return kExitFailed;
        }
    }
    if (options.sendSettings) {
        request.sendSettings = options.values.ToSettings();
    }
    const PortChoice choice = ChoosePort(options.port);
    const auto link = OpenLink(choice, console);
    if (!link) {
        return kExitFailed;
    }
    device::DownloadResult result;
    {
        InterruptWatcher watcher([&link] { link->Cancel(); });
        if (!link->StartDownload(request, console, console)) {
            return kExitFailed;
        }
        result = *link->Wait();
    }
    console.EndStatusLine();
    if (result.outcome == Outcome::Ok) {
        PrintSummary(result, choice.Baud(), console);
    } else if (result.outcome == Outcome::Failed) {
        ExplainFailure(result, options.file, console);
    } else {
        ExplainCancel(result, console);
    }
    return DownloadExitCode(result);
}

}  // namespace

void AddDeviceCommands(CLI::App& app, const Streams& streams, int& exitCode) {
    auto* ports =
        app.add_subcommand("ports", streams.Translate("Cli", "list the serial ports present"));
    ports->callback([streams, &exitCode] { exitCode = RunPorts(streams); });

    auto connectOptions = std::make_shared<PortOptions>();
    auto* connect = app.add_subcommand(
        "connect", streams.Translate("Cli", "connect to the module and show its flash"));
    AddPortOptions(*connect, *connectOptions, streams);
    connect->callback(
        [connectOptions, streams, &exitCode] { exitCode = RunConnect(*connectOptions, streams); });

    auto download = std::make_shared<DownloadOptions>();
    auto* downloadCommand = app.add_subcommand(
        "download", streams.Translate("Cli", "download a resource image into the module's flash"));
    AddPortOptions(*downloadCommand, download->port, streams);
    downloadCommand
        ->add_option("FILE.bin", download->file, streams.Translate("Cli", "the resource image"))
        ->required();
    auto* send = downloadCommand->add_flag(
        "--send-settings", download->sendSettings,
        streams.Translate("Cli", "send the LCD settings after a successful download"));
    for (CLI::Option* option : AddSettingsOptions(*downloadCommand, download->values, streams)) {
        option->needs(send);
    }
    AddEraseOption(*downloadCommand, download->erase, streams);
    downloadCommand->add_option(
        "--since", download->since,
        streams.Translate("Cli",
                          "OLD.bin, the image the module holds now: erase and write only the "
                          "64 KiB blocks that differ from it (after checking that the module "
                          "holds it; otherwise the whole image)"));
    downloadCommand->callback(
        [download, streams, &exitCode] { exitCode = RunDownload(*download, streams); });

    auto* lcd = app.add_subcommand(
        "lcd", streams.Translate("Cli", "read or write the module's own settings"));
    lcd->require_subcommand(1);
    auto readOptions = std::make_shared<PortOptions>();
    auto* read =
        lcd->add_subcommand("read", streams.Translate("Cli", "read the module's settings"));
    AddPortOptions(*read, *readOptions, streams);
    read->callback(
        [readOptions, streams, &exitCode] { exitCode = RunLcdRead(*readOptions, streams); });
    auto writeOptions = std::make_shared<PortOptions>();
    auto writeValues = std::make_shared<SettingsOptions>();
    auto* write =
        lcd->add_subcommand("write", streams.Translate("Cli", "write the module's settings"));
    AddPortOptions(*write, *writeOptions, streams);
    AddSettingsOptions(*write, *writeValues, streams);
    write->callback([writeOptions, writeValues, streams, &exitCode] {
        exitCode = RunLcdWrite(*writeOptions, *writeValues, streams);
    });
}

}  // namespace pictor::cli
