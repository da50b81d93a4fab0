#include "platform/channel_connection.h"
#ifndef _WIN32
#include "platform/posix/unix_socket_connection.h"
#endif
#include "station/station_status.h"
#include "ui/command_line.h"
#include "ui/qt/qt_start.h"
#include "ui/qt/quorel_app.h"

#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    // Qt's own options, let through to QApplication.
    const quorel::ToolkitOptions qtOptions{
        {"platform", "style", "stylesheet", "display", "geometry", "qwindowgeometry",
         "qwindowtitle", "qwindowicon", "platformpluginpath", "platformtheme", "plugin", "session"},
        {"reverse"}};
    std::string station;
    quorel::StationCommand command = quorel::StationCommand::None;
    std::string signal;
    if (const std::optional<int> exitCode =
            quorel::handleCommandLine(std::vector<std::string>(argv, argv + argc), qtOptions,
                                      std::cout, std::cerr, &station, &command, &signal)) {
        return *exitCode;
    }
    if (station.empty()) {
        station = quorel::defaultChannelAddress(
            [](const char* name) -> const char* { return std::getenv(name); });
    }
#ifndef _WIN32
    // --signal and the other commands are asked of the running station, without a window.
    if (command != quorel::StationCommand::None) {
        quorel::UnixSocketConnection connection(station);
        return quorel::runStationCommand(connection, command, signal, std::cout, std::cerr,
                                         "quorel");
    }
#endif
    const auto application = quorel::startQtApplication(argc, argv);
    quorel::QuorelApp quorel(station);
    return quorel.run();
}
