#pragma once

#include <string>

namespace quorel {

// The folder of the running executable, ending in the platform's separator.
std::string programFolder();

// The executable's file name without folder and without extension.
std::string programBaseName();

} // namespace quorel
