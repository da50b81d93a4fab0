#pragma once

#include <string>

namespace quorel {

// The user's configuration folder: $XDG_CONFIG_HOME, or ~/.config when it is not set. No
// trailing separator.
std::string userConfigFolder();

// The user's data folder: $XDG_DATA_HOME, or ~/.local/share when it is not set. No trailing
// separator.
std::string userDataFolder();

} // namespace quorel
