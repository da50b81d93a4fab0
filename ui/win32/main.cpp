#include "platform/channel_connection.h"
#include "platform/windows/named_pipe_connection.h"
#include "platform/windows/wide_text.h"
#include "station/station_status.h"
#include "ui/command_line.h"
#include "ui/win32/told_text.h"
#include "ui/win32/win32_app.h"

#include <sstream>
#include <string>
#include <vector>
#include <windows.h>

#include <shellapi.h>

namespace {

// The command line as the program's arguments, in UTF-8.
std::vector<std::string> arguments() {
    int count = 0;
    LPWSTR* wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::vector<std::string> utf8;
    for (int i = 0; wide != nullptr && i < count; ++i) {
        utf8.push_back(quorel::fromWide(wide[i]));
    }
    ::LocalFree(wide);
    return utf8;
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
    std::ostringstream out;
    std::ostringstream err;
    // No toolkit reads options here; --station names the station whose console the window
    // becomes, the system's own pipe by default.
    std::string station;
    quorel::StationCommand command = quorel::StationCommand::None;
    std::string signal;
    std::optional<int> exitCode = quorel::handleCommandLine(arguments(), quorel::ToolkitOptions{},
                                                            out, err, &station, &command, &signal);
    if (station.empty()) {
        station = quorel::defaultChannelAddress([](const char*) -> const char* { return nullptr; });
    }
    // --signal and the other commands are asked of the running station, without a window.
    if (!exitCode && command != quorel::StationCommand::None) {
        quorel::NamedPipeConnection connection(station);
        exitCode = quorel::runStationCommand(connection, command, signal, out, err, "quorel");
    }
    if (exitCode) {
        if (!out.str().empty()) {
            quorel::tellUser(out.str(), false);
        }
        if (!err.str().empty()) {
            quorel::tellUser(err.str(), true);
        }
        return *exitCode;
    }
    quorel::Win32App quorel(station);
    return quorel.run();
}
