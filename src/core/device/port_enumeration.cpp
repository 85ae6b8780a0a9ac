#include "core/device/port_enumeration.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <fstream>
#include <map>
#include <string_view>
#include <system_error>
#include <tuple>

#include "core/common/ascii_text.h"

namespace pictor::device {

namespace {

namespace fs = std::filesystem;

// Device name prefixes of serial ports, in listing order.
constexpr std::array<std::string_view, 4> kPortPrefixes = {"ttyS", "ttyUSB", "ttyACM", "ttyAMA"};

struct PortName {
    std::size_t kind = 0;  // index into kPortPrefixes
    unsigned number = 0;
};

// Splits "ttyUSB3" into its kind and number; false for any other name.
bool ParsePortName(std::string_view name, PortName& parsed) {
    // "ttyS" also prefixes "ttyUSB0", but the rest must be all digits.
    for (std::size_t kind = 0; kind < kPortPrefixes.size(); ++kind) {
        const std::string_view prefix = kPortPrefixes[kind];
        if (name.size() <= prefix.size() || name.substr(0, prefix.size()) != prefix) {
            continue;
        }
        const std::string_view digits = name.substr(prefix.size());
        unsigned number = 0;
        const auto [end, error] =
            std::from_chars(digits.data(), digits.data() + digits.size(), number);
        if (error == std::errc{} && end == digits.data() + digits.size()) {
            parsed = {kind, number};
            return true;
        }
    }
    return false;
}

// An 8250 port slot without hardware reports port type 0 (unknown).
bool IsPlaceholderUart(const fs::path& ttyDir) {
    std::ifstream typeFile(ttyDir / "type");
    int type = -1;
    return typeFile >> type && type == 0;
}

// Device name -> by-id link name, for every link in root/dev/serial/by-id.
std::map<std::string, std::string> ReadByIdLinks(const fs::path& byIdDir) {
    std::map<std::string, std::string> names;
    std::error_code error;
    for (fs::directory_iterator it(byIdDir, error), end; !error && it != end; it.increment(error)) {
        std::error_code linkError;
        const fs::path target = fs::read_symlink(it->path(), linkError);
        if (linkError) {
            continue;
        }
        names.emplace(target.filename().string(), it->path().filename().string());
    }
    return names;
}

// The number of "COMn"; 0 for any other name.
unsigned ComNumber(std::string_view name) {
    if (!StartsWithIgnoringAsciiCase(name, "COM")) {
        return 0;
    }
    unsigned number = 0;
    const std::string_view digits = name.substr(3);
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    return error == std::errc{} && end == digits.data() + digits.size() ? number : 0;
}

}  // namespace

std::vector<PortInfo> SelectWindowsSerialPorts(const std::map<std::string, std::string>& portsClass,
                                               const std::vector<std::string>& registered) {
    std::map<std::string, std::string> serial;
    for (const auto& [name, description] : portsClass) {
        const bool isRegistered =
            std::find(registered.begin(), registered.end(), name) != registered.end();
        if (ComNumber(name) != 0 || isRegistered) {
            serial.emplace(name, description);
        }
    }
    for (const std::string& name : registered) {
        serial.emplace(name, std::string());  // keeps the friendly name of the class device
    }
    std::vector<PortInfo> ports;
    ports.reserve(serial.size());
    for (const auto& [name, description] : serial) {
        ports.push_back(PortInfo{name, description});
    }
    std::stable_sort(ports.begin(), ports.end(), [](const PortInfo& a, const PortInfo& b) {
        const unsigned na = ComNumber(a.path);
        const unsigned nb = ComNumber(b.path);
        return (na == 0 ? ~0U : na) < (nb == 0 ? ~0U : nb);
    });
    return ports;
}

std::vector<PortInfo> ListSerialPorts(const fs::path& root) {
    const fs::path ttyClass = root / "sys" / "class" / "tty";
    const fs::path devDir = root / "dev";
    const auto byId = ReadByIdLinks(devDir / "serial" / "by-id");

    std::vector<std::pair<PortName, PortInfo>> found;
    std::error_code error;
    for (fs::directory_iterator it(ttyClass, error), end; !error && it != end;
         it.increment(error)) {
        const std::string name = it->path().filename().string();
        PortName parsed;
        if (!ParsePortName(name, parsed)) {
            continue;
        }
        std::error_code statError;
        if (!fs::exists(it->path() / "device", statError)) {
            continue;  // virtual terminal without hardware behind it
        }
        if (kPortPrefixes[parsed.kind] == "ttyS" && IsPlaceholderUart(it->path())) {
            continue;
        }
        const fs::path node = devDir / name;
        if (!fs::exists(node, statError)) {
            continue;
        }
        PortInfo info{node.string(), {}};
        if (const auto link = byId.find(name); link != byId.end()) {
            info.description = link->second;
        }
        found.emplace_back(parsed, std::move(info));
    }
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) {
        return std::tie(a.first.kind, a.first.number) < std::tie(b.first.kind, b.first.number);
    });

    std::vector<PortInfo> ports;
    ports.reserve(found.size());
    for (auto& entry : found) {
        ports.push_back(std::move(entry.second));
    }
    return ports;
}

}  // namespace pictor::device
