#pragma once

#include <string>

namespace quorel {

// The Windows Run command for programPath: quoted when it holds a blank, so that Windows cannot
// start another program (such as C:\Program.exe) in its place.
std::string windowsRunCommand(const std::string& programPath);

} // namespace quorel
