#include <CLI/CLI.hpp>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "cli/commands.h"
#include "cli/device_console.h"
#include "cli/interrupt_watcher.h"
#include "core/common/regular_file.h"
#include "core/device/device_link.h"
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

/// Options every device command shares.
struct PortOptions {
    std::string port;
    std::string baud;
    std::string settingsFile = "Pictor.ini";
};

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

void AddPortOptions(CLI::App& command, PortOptions& options) {
    command.add_option("--port", options.port,
                       "serial port: a device path or COMn (default: \"COM\" of [Scom])");
    command.add_option("--baud", options.baud, "baud rate (default: \"BIT\" of [Scom])");
    command.add_option("--settings", options.settingsFile, "settings file (default ./Pictor.ini)");
}

std::vector<CLI::Option*> AddSettingsOptions(CLI::App& command, SettingsOptions& options) {
    return {
        command.add_option("--address", options.address, "RS485 device address 0..255")
            ->check(CLI::Range(0, 255)),
        command
            .add_option("--baud-index", options.baudIndex,
                        "baud-rate index 0..6 (1200 2400 4800 9600 19200 57600 115200)")
            ->check(CLI::Range(0, 6)),
        command.add_option("--backlight", options.backlight, "backlight level 0..9")
            ->check(CLI::Range(0, 9)),
        command
            .add_option("--foreground", options.foreground,
                        "foreground colour 0..5 (BLACK BLUE GREEN RED WHITE YELLOW)")
            ->check(CLI::Range(0, 5)),
        command.add_option("--background", options.background, "background colour 0..5")
            ->check(CLI::Range(0, 5)),
    };
}

/// The serial port the options name, with "Scom" defaults from the settings file.
struct PortChoice {
    std::string portText;
    std::string baudText;
    settings::ScomSettings scom;
};

PortChoice ChoosePort(const PortOptions& options) {
    const settings::ProfileFile file(PathFromUtf8(options.settingsFile));
    PortChoice choice;
    choice.scom = settings::ReadScomSettings(file);
    choice.portText = options.port.empty() ? choice.scom.portText : options.port;
    choice.baudText = options.baud.empty() ? choice.scom.baudText : options.baud;
    return choice;
}

std::string OpenFailureReason(const std::string& portText, const device::SerialPort& port) {
    const std::error_code error = port.LastOpenError();
    const std::string path = device::DevicePathForPort(portText);
    const std::string where =
        path.empty() || path == portText ? portText : portText + " (" + path + ")";
    switch (device::ClassifyPortOpenError(error)) {
        case device::PortOpenFailure::NoSuchPort:
            return "reason: port " + where + " does not exist (`pictor-cli ports` lists the ports)";
        case device::PortOpenFailure::Busy:
            return "reason: port " + where + " is busy: another program has it open";
        case device::PortOpenFailure::PermissionDenied:
#ifdef _WIN32
            // Windows answers "access denied" also when another program holds the port.
            return "reason: access denied on " + where +
                   ": another program may have it open, or it may not be used by this user";
#else
            return "reason: permission denied on " + where +
                   "; add your user to the dialout group (sudo usermod -aG dialout $USER) and "
                   "log in again";
#endif
        case device::PortOpenFailure::BadBaudRate:
            return "reason: the baud rate is not usable on " + where;
        case device::PortOpenFailure::Other:
            break;
    }
    return "reason: " + where + ": " + error.message();
}

std::string ConnectFailureReason(const ConnectResult& result) {
    char hex[8];
    switch (result.failure) {
        case ConnectFailure::NotWritten:
            return "reason: the connect request could not be written to the port";
        case ConnectFailure::NoReply:
            return "reason: no reply from the module (not a single byte within 500 ms); check "
                   "the cable, the port and the baud rate";
        case ConnectFailure::ShortReply:
            return "reason: the module's reply was cut short (1 of 2 bytes)";
        case ConnectFailure::UnknownKind:
            std::snprintf(hex, sizeof hex, "%02X %02X", result.reply[0], result.reply[1]);
            return std::string("reason: unknown flash kind in the reply ") + hex +
                   " (expected 90 01 to 90 05)";
        default:
            return {};
    }
}

/// Opens the chosen port and hands it to a new link; null after reporting why not.
std::unique_ptr<DeviceLink> OpenLink(const PortChoice& choice, DeviceConsole& console) {
    auto port = std::make_unique<device::SerialPort>();
    if (!port->Open(choice.portText, settings::ParseLeadingInt(choice.baudText))) {
        console.Show(Message{"串口无法打开!", "错误", MessageIcon::None});
        console.Explain(OpenFailureReason(choice.portText, *port));
        return nullptr;
    }
    auto link = std::make_unique<DeviceLink>(device::DeviceStateFromSettings(choice.scom));
    link->AttachLine(std::move(port), console);
    return link;
}

/// Connect without the magic; reports `failureText` and the reason on failure.
bool ConnectLink(DeviceLink& link, DeviceConsole& console, const char* failureText,
                 ConnectResult* out = nullptr) {
    const std::optional<ConnectResult> result = link.Connect(console);
    if (!result || result->outcome != Outcome::Ok) {
        console.Show(Message{failureText, "信息", MessageIcon::Stop});
        if (result) {
            console.Explain(ConnectFailureReason(*result));
        }
        return false;
    }
    if (out != nullptr) {
        *out = *result;
    }
    return true;
}

int RunPorts(Streams streams) {
    const auto ports = device::ListSerialPorts();
    if (ports.empty()) {
        streams.err << "no serial ports found\n";
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

int RunConnect(const PortOptions& options, Streams streams) {
    DeviceConsole console(streams, ErrIsTerminal(streams));
    const PortChoice choice = ChoosePort(options);
    const auto link = OpenLink(choice, console);
    ConnectResult result;
    if (!link || !ConnectLink(*link, console, "连接失败", &result)) {
        return kExitFailed;
    }
    const device::DeviceState state = link->State();
    streams.out << "flash kind: " << result.kind->kind << '\n'
                << "flash type: " << state.selectedFlashType << '\n'
                << "transfer mode: " << state.transferMode << '\n'
                << "image start sector: " << state.imageStartSector << '\n'
                << "flash size: " << state.flashSizeCode << " MiB\n";
    return kExitOk;
}

int RunLcdRead(const PortOptions& options, Streams streams) {
    DeviceConsole console(streams, ErrIsTerminal(streams));
    const auto link = OpenLink(ChoosePort(options), console);
    if (!link || !ConnectLink(*link, console, "连接LCM 失败")) {
        return kExitFailed;
    }
    device::LcdSettingsReply reply;
    const auto outcome = link->ReadSettings(reply, console);
    if (outcome != Outcome::Ok) {
        console.Show(Message{"读LCD设置数据", "失败", MessageIcon::None});
        return kExitFailed;
    }
    device::LcdSettingsRejects rejects;
    device::ApplySettingsReply(LcdSettings{}, reply, &rejects);
    constexpr const char* kRejected = " (out of range, not taken)";
    streams.out << "address: " << int{reply.address} << '\n';
    streams.out << "baud: " << int{reply.baudIndex};
    if (rejects.baudIndex) {
        streams.out << kRejected << '\n';
    } else {
        streams.out << " (" << device::kLcdBaudRates[reply.baudIndex] << ")\n";
    }
    streams.out << "backlight: " << int{reply.backlight} << (rejects.backlight ? kRejected : "")
                << '\n';
    auto colour = [&](const char* name, std::uint8_t value, bool rejected) {
        streams.out << name << ": " << int{value};
        if (rejected) {
            streams.out << kRejected << '\n';
        } else {
            streams.out << " (" << device::kLcdColourNames[value] << ")\n";
        }
    };
    colour("foreground", reply.foreground, rejects.foreground);
    colour("background", reply.background, rejects.background);
    return kExitOk;
}

int RunLcdWrite(const PortOptions& options, const SettingsOptions& values, Streams streams) {
    DeviceConsole console(streams, ErrIsTerminal(streams));
    const auto link = OpenLink(ChoosePort(options), console);
    if (!link || !ConnectLink(*link, console, "连接LCM 失败")) {
        return kExitFailed;
    }
    const auto outcome = link->WriteSettings(values.ToSettings(), console);
    const bool ok = outcome == Outcome::Ok;
    console.Show(Message{"写LCD设置数据", ok ? "成功" : "失败",
                         ok ? MessageIcon::Information : MessageIcon::None});
    return ok ? kExitOk : kExitFailed;
}

struct DownloadOptions {
    PortOptions port;
    std::string file;
    bool sendSettings = false;
    SettingsOptions values;
};

void PrintSummary(const device::DownloadResult& result, int baud, DeviceConsole& console) {
    const double seconds = result.transferTime.count();
    const double bytesPerSecond =
        seconds > 0 ? static_cast<double>(result.bytesWritten) / seconds : 0.0;
    const double lineBytesPerSecond = baud > 0 ? baud / 10.0 : 0.0;
    char line[256];
    std::snprintf(line, sizeof line,
                  "summary: %llu bytes written in %.2f s (%s included; %.2f s in all), "
                  "%.1f KB/s, %.0f%% of the line rate of %d baud",
                  static_cast<unsigned long long>(result.bytesWritten), seconds,
                  result.transferMode == 1 ? "read-back check" : "acknowledgements",
                  result.totalTime.count(), bytesPerSecond / 1000.0,
                  lineBytesPerSecond > 0 ? 100.0 * bytesPerSecond / lineBytesPerSecond : 0.0, baud);
    console.Explain(line);
}

std::string LoadFailureReason(const device::DownloadResult& result, const std::string& file) {
    switch (result.loadFailure) {
        case device::LoadFailure::CannotOpen:
            return "reason: cannot open " + file;
        case device::LoadFailure::ShortRead:
            return "reason: " + file + " could not be read whole";
        default:
            return {};
    }
}

int RunDownload(const DownloadOptions& options, Streams streams) {
    DeviceConsole console(streams, ErrIsTerminal(streams));
    const PortChoice choice = ChoosePort(options.port);
    const auto link = OpenLink(choice, console);
    if (!link) {
        return kExitFailed;
    }
    device::DownloadRequest request;
    request.source = device::ImageSource::File;
    request.filePath = PathFromUtf8(options.file);
    if (options.sendSettings) {
        request.sendSettings = options.values.ToSettings();
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
    switch (result.outcome) {
        case Outcome::Ok:
            PrintSummary(result, settings::ParseLeadingInt(choice.baudText), console);
            // The job has shown the warning; the exit code tells scripts.
            return result.settingsWritten.value_or(true) ? kExitOk : kExitFailed;
        case Outcome::Cancelled:
            return kExitCancelled;
        case Outcome::Failed:
            break;
    }
    if (result.step == device::DownloadStep::Connect) {
        ConnectResult connect;
        connect.failure = result.connectFailure;
        connect.reply = result.connectReply;
        console.Explain(ConnectFailureReason(connect));
    } else if (const std::string why = LoadFailureReason(result, options.file); !why.empty()) {
        console.Explain(why);
    }
    return kExitFailed;
}

}  // namespace

void AddDeviceCommands(CLI::App& app, Streams streams, int& exitCode) {
    auto* ports = app.add_subcommand("ports", "list the serial ports present");
    ports->callback([streams, &exitCode] { exitCode = RunPorts(streams); });

    auto connectOptions = std::make_shared<PortOptions>();
    auto* connect = app.add_subcommand("connect", "connect to the module and show its flash");
    AddPortOptions(*connect, *connectOptions);
    connect->callback(
        [connectOptions, streams, &exitCode] { exitCode = RunConnect(*connectOptions, streams); });

    auto download = std::make_shared<DownloadOptions>();
    auto* downloadCommand =
        app.add_subcommand("download", "download a resource image into the module's flash");
    AddPortOptions(*downloadCommand, download->port);
    downloadCommand->add_option("FILE.bin", download->file, "the resource image")->required();
    auto* send = downloadCommand->add_flag("--send-settings", download->sendSettings,
                                           "send the LCD settings after a successful download");
    for (CLI::Option* option : AddSettingsOptions(*downloadCommand, download->values)) {
        option->needs(send);
    }
    downloadCommand->callback(
        [download, streams, &exitCode] { exitCode = RunDownload(*download, streams); });

    auto* lcd = app.add_subcommand("lcd", "read or write the module's own settings");
    lcd->require_subcommand(1);
    auto readOptions = std::make_shared<PortOptions>();
    auto* read = lcd->add_subcommand("read", "read the module's settings");
    AddPortOptions(*read, *readOptions);
    read->callback(
        [readOptions, streams, &exitCode] { exitCode = RunLcdRead(*readOptions, streams); });
    auto writeOptions = std::make_shared<PortOptions>();
    auto writeValues = std::make_shared<SettingsOptions>();
    auto* write = lcd->add_subcommand("write", "write the module's settings");
    AddPortOptions(*write, *writeOptions);
    AddSettingsOptions(*write, *writeValues);
    write->callback([writeOptions, writeValues, streams, &exitCode] {
        exitCode = RunLcdWrite(*writeOptions, *writeValues, streams);
    });
}

}  // namespace pictor::cli
