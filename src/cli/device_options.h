#pragma once

// What the device commands share: the port options with their "Scom" defaults,
// opening the link to the module, the erase choice, and why a connect failed.

#include <CLI/CLI.hpp>
#include <memory>
#include <string>

#include "cli/commands.h"
#include "cli/device_console.h"
#include "core/device/device_link.h"
#include "core/device/download_plan.h"
#include "core/settings/scom_settings.h"

namespace pictor::cli {

/// Options every device command shares.
struct PortOptions {
    std::string port;
    std::string baud;
    std::string settingsFile = "Pictor.ini";
};

void AddPortOptions(CLI::App& command, PortOptions& options, const Streams& streams);

/// `--erase image|to-end` (default to-end).
void AddEraseOption(CLI::App& command, device::EraseScope& scope, const Streams& streams);

/// The serial port the options name, with "Scom" defaults from the settings file.
struct PortChoice {
    std::string portText;
    std::string baudText;
    settings::ScomSettings scom;

    [[nodiscard]] int Baud() const;
};

PortChoice ChoosePort(const PortOptions& options);

/// Opens the chosen port and hands it to a new link; null after reporting why not.
std::unique_ptr<device::DeviceLink> OpenLink(const PortChoice& choice, DeviceConsole& console);

/// Why a connect failed, as a "reason: ..." line; empty when there is nothing to add.
std::string ConnectFailureReason(const device::ConnectResult& result, const Streams& streams);

}  // namespace pictor::cli
