#pragma once

#include <string>

namespace quorel {

// The folder of the running executable, ending in the platform's separator.
std::string programFolder();

// The executable's file name without folder and without extension.
std::string programBaseName();

// The user's configuration folder: $XDG_CONFIG_HOME, or ~/.config when it is not set. No
// trailing separator.
std::string userConfigFolder();

} // namespace quorel
