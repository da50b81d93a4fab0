#include "platform/port_devices.h"

namespace quorel {

std::string deviceForPort(SettingsStore& store, int portNumber) {
    const std::string key = "COM" + std::to_string(portNumber);
    const std::string fallback = "/dev/ttyACM" + std::to_string(portNumber - 1);
    const std::string configured = store.read(kStoreApplication, kPortsSection, key, "");
    return configured.empty() ? fallback : configured;
}

} // namespace quorel
