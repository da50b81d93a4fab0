#include "platform/port_devices.h"

namespace quorel {

std::string deviceForPort(SettingsStore& store, int portNumber) {
    const std::string key = "COM" + std::to_string(portNumber);
#ifdef _WIN32
    const std::string fallback = key; // Windows names the ports themselves: COM1, COM2, …
#else
    const std::string fallback = "/dev/ttyACM" + std::to_string(portNumber - 1);
#endif
    const std::string configured = store.read(kStoreApplication, kPortsSection, key, "");
    return configured.empty() ? fallback : configured;
}

} // namespace quorel
