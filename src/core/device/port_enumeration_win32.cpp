#include <windows.h>

#include "core/device/port_enumeration.h"

// <setupapi.h> and <devguid.h> need <windows.h> first.
#include <devguid.h>
#include <setupapi.h>

#include <map>
#include <utility>

#include "core/common/regular_file.h"

namespace pictor::device {

namespace {

std::string Utf8(const std::wstring& text) {
    return Utf8FromPath(std::filesystem::path(text));
}

// A REG_SZ value, without the terminating null(s) the registry may store.
std::wstring StringValue(HKEY key, const wchar_t* name) {
    DWORD type = 0;
    DWORD bytes = 0;
    if (::RegQueryValueExW(key, name, nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS ||
        type != REG_SZ || bytes == 0) {
        return {};
    }
    std::wstring text(bytes / sizeof(wchar_t) + 1, L'\0');
    if (::RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text.data()),
                           &bytes) != ERROR_SUCCESS) {
        return {};
    }
    text.resize(std::wcslen(text.c_str()));
    return text;
}

// Port name -> friendly name, from the present devices of the Ports class.
void AddSetupApiPorts(std::map<std::string, std::string>& ports) {
    HDEVINFO devices =
        ::SetupDiGetClassDevsW(&GUID_DEVCLASS_PORTS, nullptr, nullptr, DIGCF_PRESENT);
    if (devices == INVALID_HANDLE_VALUE) {
        return;
    }
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof device;
    for (DWORD index = 0; ::SetupDiEnumDeviceInfo(devices, index, &device); ++index) {
        HKEY key =
            ::SetupDiOpenDevRegKey(devices, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
        if (key == INVALID_HANDLE_VALUE) {
            continue;
        }
        const std::wstring portName = StringValue(key, L"PortName");
        ::RegCloseKey(key);
        if (portName.empty()) {
            continue;
        }
        wchar_t friendly[256] = {};
        DWORD type = 0;
        std::string description;
        if (::SetupDiGetDeviceRegistryPropertyW(devices, &device, SPDRP_FRIENDLYNAME, &type,
                                                reinterpret_cast<BYTE*>(friendly),
                                                sizeof friendly - sizeof(wchar_t), nullptr)) {
            description = Utf8(friendly);
        }
        ports[Utf8(portName)] = description;
    }
    ::SetupDiDestroyDeviceInfoList(devices);
}

// Ports registered by their serial drivers under SERIALCOMM (value: the port name).
void AddRegisteredPorts(std::vector<std::string>& ports) {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ,
                        &key) != ERROR_SUCCESS) {
        return;
    }
    for (DWORD index = 0;; ++index) {
        wchar_t name[256];
        DWORD nameLength = 256;
        wchar_t value[256];
        DWORD valueBytes = sizeof value - sizeof(wchar_t);
        DWORD type = 0;
        const LONG result = ::RegEnumValueW(key, index, name, &nameLength, nullptr, &type,
                                            reinterpret_cast<BYTE*>(value), &valueBytes);
        if (result == ERROR_NO_MORE_ITEMS) {
            break;
        }
        if (result != ERROR_SUCCESS || type != REG_SZ) {
            continue;
        }
        value[valueBytes / sizeof(wchar_t)] = L'\0';
        if (std::string port = Utf8(value); !port.empty()) {
            ports.push_back(std::move(port));
        }
    }
    ::RegCloseKey(key);
}

}  // namespace

std::vector<PortInfo> ListSerialPorts() {
    std::map<std::string, std::string> portsClass;
    AddSetupApiPorts(portsClass);
    std::vector<std::string> registered;
    AddRegisteredPorts(registered);
    return SelectWindowsSerialPorts(portsClass, registered);
}

}  // namespace pictor::device
