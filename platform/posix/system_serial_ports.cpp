#include "platform/posix/system_serial_ports.h"

#include "platform/posix/serial_device.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace quorel {

namespace fs = std::filesystem;

namespace {

// ttyACM2 before ttyACM10: names of one prefix sorted by length first.
bool naturalOrder(const std::string& left, const std::string& right) {
    return left.size() != right.size() ? left.size() < right.size() : left < right;
}

std::vector<std::string> namesIn(const fs::path& folder, const std::string& prefix) {
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator each(folder, error), end; !error && each != end;
         each.increment(error)) {
        const std::string name = each->path().filename().string();
        if (name.starts_with(prefix)) {
            names.push_back(name);
        }
    }
    std::sort(names.begin(), names.end(), naturalOrder);
    return names;
}

} // namespace

std::vector<PresentPort> SystemSerialPorts::present() {
    std::vector<PresentPort> ports;
    const fs::path byId = fs::path(dev_) / "serial" / "by-id";
    for (const std::string& name : namesIn(byId, "")) {
        const std::string device = (byId / name).string();
        const std::string target = targetOf(device);
        ports.push_back({device, target, target});
    }
    for (const char* prefix : {"ttyACM", "ttyUSB"}) {
        for (const std::string& name : namesIn(dev_, prefix)) {
            const std::string device = (fs::path(dev_) / name).string();
            ports.push_back({device, "", targetOf(device)});
        }
    }
    return ports;
}

std::string SystemSerialPorts::targetOf(const std::string& device) {
    std::error_code error;
    const fs::path target = fs::canonical(device, error);
    return error ? device : target.string();
}

std::unique_ptr<SerialDevice> SystemSerialPorts::newDevice() {
    return std::make_unique<SystemSerialDevice>();
}

} // namespace quorel
