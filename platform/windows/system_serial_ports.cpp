#include "platform/windows/system_serial_ports.h"

#include "platform/windows/serial_device.h"
#include "platform/windows/wide_text.h"

#include <algorithm>
#include <cwctype>
#include <map>
#include <windows.h>
// The class GUID of ports is defined here, once, by the header that declares it.
#include <devguid.h>
#include <initguid.h>
#include <setupapi.h>

namespace quorel {

namespace {

// COM5 → 5, for the order; names that hold no number come last.
unsigned long numberOf(const std::string& name) {
    const size_t digits = name.find_first_of("0123456789");
    return digits == std::string::npos ? 0xFFFFFFFFUL : std::stoul(name.substr(digits));
}

// The port names of the serial device map, keyed by the driver's device name.
std::map<std::string, std::string> mappedPorts() {
    std::map<std::string, std::string> ports;
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ,
                        &key) != ERROR_SUCCESS) {
        return ports;
    }
    for (DWORD index = 0;; ++index) {
        wchar_t name[256];
        wchar_t value[256];
        DWORD nameSize = 256;
        DWORD valueSize = sizeof value - sizeof(wchar_t);
        DWORD type = 0;
        const LONG result = ::RegEnumValueW(key, index, name, &nameSize, nullptr, &type,
                                            reinterpret_cast<BYTE*>(value), &valueSize);
        if (result == ERROR_NO_MORE_ITEMS) {
            break;
        }
        if (result != ERROR_SUCCESS || type != REG_SZ) {
            continue;
        }
        value[valueSize / sizeof(wchar_t)] = L'\0';
        ports[fromWide(value)] = fromWide(name);
    }
    ::RegCloseKey(key);
    return ports;
}

// Device Manager's names of the ports it knows, keyed by port name.
std::map<std::string, std::string> friendlyNames() {
    std::map<std::string, std::string> names;
    HDEVINFO devices =
        ::SetupDiGetClassDevsW(&GUID_DEVCLASS_PORTS, nullptr, nullptr, DIGCF_PRESENT);
    if (devices == INVALID_HANDLE_VALUE) {
        return names;
    }
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof device;
    for (DWORD index = 0; ::SetupDiEnumDeviceInfo(devices, index, &device); ++index) {
        HKEY key =
            ::SetupDiOpenDevRegKey(devices, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
        if (key == INVALID_HANDLE_VALUE) {
            continue;
        }
        wchar_t port[64] = {};
        DWORD size = sizeof port - sizeof(wchar_t);
        const bool named =
            ::RegQueryValueExW(key, L"PortName", nullptr, nullptr, reinterpret_cast<BYTE*>(port),
                               &size) == ERROR_SUCCESS;
        ::RegCloseKey(key);
        wchar_t friendly[256] = {};
        if (named &&
            ::SetupDiGetDeviceRegistryPropertyW(devices, &device, SPDRP_FRIENDLYNAME, nullptr,
                                                reinterpret_cast<BYTE*>(friendly),
                                                sizeof friendly - sizeof(wchar_t), nullptr)) {
            names[fromWide(port)] = fromWide(friendly);
        }
    }
    ::SetupDiDestroyDeviceInfoList(devices);
    return names;
}

} // namespace

std::vector<PresentPort> SystemSerialPorts::present() {
    const std::map<std::string, std::string> friendly = friendlyNames();
    std::vector<PresentPort> ports;
    for (const auto& [port, driverName] : mappedPorts()) {
        const auto named = friendly.find(port);
        ports.push_back(
            {port, named != friendly.end() ? named->second : driverName, targetOf(port)});
    }
    std::sort(ports.begin(), ports.end(), [](const PresentPort& left, const PresentPort& right) {
        return numberOf(left.device) < numberOf(right.device);
    });
    return ports;
}

std::string SystemSerialPorts::targetOf(const std::string& device) {
    std::string target = device;
    if (target.starts_with("\\\\.\\")) {
        target.erase(0, 4);
    }
    std::transform(target.begin(), target.end(), target.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return target;
}

std::unique_ptr<SerialDevice> SystemSerialPorts::newDevice() {
    return std::make_unique<SystemSerialDevice>();
}

} // namespace quorel
