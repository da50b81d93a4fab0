#pragma once

#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace quorel {

// Where quorel-station works without --data-folder, when the service manager gives no folder
// (POSIX systems; on Windows, %ProgramData%\Quorel).
inline constexpr const char* kStationDataFolder = "/var/lib/quorel";

// What the command line asks of a running station: a signal started or stopped, the bells
// suspended or resumed.
enum class StationCommand { None, StartSignal, StopSignal, Suspend, Resume };

struct StationOptions {
    std::string dataFolder; // empty: see stationDataFolder
    std::string channel;    // the address given with --channel, kept as it is
    bool status = false;    // --status: print the running station's state instead
    // --signal NAME, --stop-signal, --suspend, --resume: asked of the running station instead.
    StationCommand command = StationCommand::None;
    std::string signal{};
    // Windows only: --service, run by the service manager; --prepare-service, run once by the
    // installer with SYSTEM's rights.
    bool service = false;
    bool prepareService = false;
};

// Reads quorel-station's command line (arguments[0] is the program): "--data-folder DIR" and
// "--channel ADDRESS" (or "--name=value") fill options; "--help" and "--version" (or "-h", "-v")
// print their text on out and end the program (0); an unknown option, a missing value or an
// argument print a short French error on err (2). nullopt when the station should start.
[[nodiscard]] std::optional<int> readStationCommandLine(const std::vector<std::string>& arguments,
                                                        StationOptions& options, std::ostream& out,
                                                        std::ostream& err);

// The data folder: the one given, else $STATE_DIRECTORY (set by the service manager), else
// kStationDataFolder. environment reads a variable, nullopt when it is not set.
std::string
stationDataFolder(const StationOptions& options,
                  const std::function<std::optional<std::string>(const char*)>& environment);

} // namespace quorel
