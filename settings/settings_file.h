#pragma once

#include "core/file_action.h"
#include "platform/dialogs.h"
#include "platform/file_layer.h"

#include <cstdint>
#include <functional>
#include <string>

namespace quorel {

// The largest settings file read: it holds one number.
inline constexpr int64_t kSettingsFileMaxBytes = 4 * 1024;

// The port option group as the settings file sees it.
struct PortOptionAccess {
    std::function<int16_t()> selected;   // index of the selected option, 0 to 4
    std::function<void(int16_t)> select; // selects an option, which runs the port choice
};

// Reads (Load) or writes (Save) the remembered port option in the settings file, a single line
// holding the option's index. A missing file on Load is not an error; any other failure shows
// one message box (no icon) saying what went wrong, and the call then returns with the
// selection unchanged.
void SettingsFile(FileAction action, const std::string& settingsPath, const PortOptionAccess& ports,
                  Dialogs& dialogs, FileLayer& files = systemFiles());

} // namespace quorel
