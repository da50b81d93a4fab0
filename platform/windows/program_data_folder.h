#pragma once

#include <string>

namespace quorel {

// The folder of the computer's programs' data, %ProgramData% (C:\ProgramData as Windows is
// usually installed), as the system knows it, else as the environment names it. No trailing
// separator.
std::string programDataFolder();

} // namespace quorel
