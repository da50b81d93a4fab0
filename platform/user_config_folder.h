#pragma once

#include <string>

namespace quorel {

// The user's configuration folder: $XDG_CONFIG_HOME, or ~/.config when it is not set. No
// trailing separator.
std::string userConfigFolder();

} // namespace quorel
