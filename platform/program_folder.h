#pragma once

#include <string>

namespace quorel {

// The folder of the running executable, ending in the platform's separator.
std::string programFolder();

// The executable's file name without folder and without extension.
std::string programBaseName();

// The executable as the start-at-logon entry names it: the folder, the base name and, on Windows,
// ".exe".
std::string programPath();

} // namespace quorel
