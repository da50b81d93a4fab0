#pragma once

#include "station/station_command_line.h"

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace quorel {

// The options a window toolkit reads itself, which the program lets through untouched: those
// followed by a value ("-platform xcb", "--style=fusion") and those that stand alone.
struct ToolkitOptions {
    std::vector<std::string> withValue;
    std::vector<std::string> alone;
};

// Reads the command line (arguments[0] is the program) before anything needs a display: "--help"
// and "--version" (or "-h", "-v"; one dash or two) print their text on out and end the program
// (0); an unknown option or an argument prints a short French error on err (2). nullopt when the
// program should start.
// "--station ADDRESS" (or "--station=ADDRESS") puts the channel of the station to connect to in
// station, when one is given. "--signal NAME", "--stop-signal", "--suspend" and "--resume" put
// what to ask of the running station in command (and signal), instead of starting the window.
[[nodiscard]] std::optional<int>
handleCommandLine(const std::vector<std::string>& arguments, const ToolkitOptions& toolkit,
                  std::ostream& out, std::ostream& err, std::string* station = nullptr,
                  StationCommand* command = nullptr, std::string* signal = nullptr);

} // namespace quorel
