#pragma once

#include <optional>

namespace quorel {

// Handles the command line before anything needs a display: "--help" and "--version" print
// their text and end the program (0); an unknown option or an argument prints a short error
// (2). nullopt when the program should start.
std::optional<int> handleCommandLine(int argc, char** argv);

} // namespace quorel
