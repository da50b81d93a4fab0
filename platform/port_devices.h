#pragma once

#include "platform/settings_store.h"

#include <string>

namespace quorel {

// The device behind port option n: the store's [Ports] COMn value when set, otherwise
// /dev/ttyACM<n-1>, the name Linux gives the first USB serial modules (COMn on Windows).
std::string deviceForPort(SettingsStore& store, int portNumber);

inline constexpr const char* kPortsSection = "Ports";

} // namespace quorel
