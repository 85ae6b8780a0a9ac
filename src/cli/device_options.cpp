#include "cli/device_options.h"

#include <cstdio>

#include "core/common/regular_file.h"
#include "core/common/text_format.h"
#include "core/common/translatable.h"
#include "core/device/port_enumeration.h"
#include "core/device/port_open_failure.h"
#include "core/device/serial_port.h"
#include "core/settings/profile_file.h"

namespace pictor::cli {

namespace {

using device::ConnectFailure;
using device::ConnectResult;
using device::DeviceLink;

std::string OpenFailureReason(const std::string& portText, const device::SerialPort& port,
                              const Streams& streams) {
    const std::error_code error = port.LastOpenError();
    const std::string path = device::DevicePathForPort(portText);
    const std::string where =
        path.empty() || path == portText ? portText : portText + " (" + path + ")";
    switch (device::ClassifyPortOpenError(error)) {
        case device::PortOpenFailure::NoSuchPort:
            return FillPlaceholders(
                streams.Translate(
                    "Cli", "reason: port %1 does not exist (`pictor-cli ports` lists the ports)"),
                {where});
        case device::PortOpenFailure::Busy:
            return FillPlaceholders(
                streams.Translate("Cli", "reason: port %1 is busy: another program has it open"),
                {where});
        case device::PortOpenFailure::PermissionDenied:
#ifdef _WIN32
            // Windows answers "access denied" also when another program holds the port.
            return FillPlaceholders(
                streams.Translate("Cli",
                                  "reason: access denied on %1: another program may have it "
                                  "open, or it may not be used by this user"),
                {where});
#else
            return FillPlaceholders(
                streams.Translate("Cli",
                                  "reason: permission denied on %1; add your user to the dialout "
                                  "group (sudo usermod -aG dialout $USER) and log in again"),
                {where});
#endif
        case device::PortOpenFailure::BadBaudRate:
            return FillPlaceholders(
                streams.Translate("Cli", "reason: the baud rate is not usable on %1"), {where});
        case device::PortOpenFailure::Other:
            break;
    }
    return FillPlaceholders(streams.Translate("Cli", "reason: %1: %2"), {where, error.message()});
}

}  // namespace

void AddPortOptions(CLI::App& command, PortOptions& options, const Streams& streams) {
    command.add_option(
        "--port", options.port,
        streams.Translate("Cli",
                          "serial port: a device path or COMn (default: \"COM\" of [Scom])"));
    command.add_option("--baud", options.baud,
                       streams.Translate("Cli", "baud rate (default: \"BIT\" of [Scom])"));
    command.add_option("--settings", options.settingsFile,
                       streams.Translate("Cli", "settings file (default ./Pictor.ini)"));
}

void AddEraseOption(CLI::App& command, device::EraseScope& scope, const Streams& streams) {
    const std::map<std::string, device::EraseScope> scopes{{"image", device::EraseScope::Image},
                                                           {"to-end", device::EraseScope::ToEnd}};
    command
        .add_option("--erase", scope,
                    streams.Translate("Cli",
                                      "what to erase: image (only the blocks the image occupies; "
                                      "the flash beyond keeps its content) or to-end (from the "
                                      "image to the end of the flash, the default)"))
        ->transform(CLI::CheckedTransformer(scopes));
}

int PortChoice::Baud() const {
    return settings::ParseLeadingInt(baudText);
}

PortChoice ChoosePort(const PortOptions& options) {
    const settings::ProfileFile file(PathFromUtf8(options.settingsFile));
    PortChoice choice;
    choice.scom = settings::ReadScomSettings(file);
    choice.portText = options.port.empty() ? choice.scom.portText : options.port;
    choice.baudText = options.baud.empty() ? choice.scom.baudText : options.baud;
    return choice;
}

std::string ConnectFailureReason(const ConnectResult& result, const Streams& streams) {
    char hex[8];
    switch (result.failure) {
        case ConnectFailure::NotWritten:
            return streams.Translate(
                "Cli", "reason: the connect request could not be written to the port");
        case ConnectFailure::NoReply:
            return streams.Translate("Cli",
                                     "reason: no reply from the module (not a single byte within "
                                     "500 ms); check the cable, the port and the baud rate");
        case ConnectFailure::ShortReply:
            return streams.Translate("Cli",
                                     "reason: the module's reply was cut short (1 of 2 bytes)");
        case ConnectFailure::UnknownKind:
            std::snprintf(hex, sizeof hex, "%02X %02X", result.reply[0], result.reply[1]);
            return FillPlaceholders(
                streams.Translate(
                    "Cli", "reason: unknown flash kind in the reply %1 (expected 90 01 to 90 05)"),
                {hex});
        default:
            return {};
    }
}

/// Opens the chosen port and hands it to a new link; null after reporting why not.
std::unique_ptr<DeviceLink> OpenLink(const PortChoice& choice, DeviceConsole& console) {
    auto port = std::make_unique<device::SerialPort>();
    if (!port->Open(choice.portText, settings::ParseLeadingInt(choice.baudText))) {
        console.Show(Message{PICTOR_TRANSLATE_NOOP("Core", "串口无法打开!"),
                             PICTOR_TRANSLATE_NOOP("Core", "错误"), MessageIcon::None});
        console.Explain(OpenFailureReason(choice.portText, *port, console.Output()));
        return nullptr;
    }
    auto link = std::make_unique<DeviceLink>(device::DeviceStateFromSettings(choice.scom));
    link->AttachLine(std::move(port), console);
    return link;
}

}  // namespace pictor::cli
