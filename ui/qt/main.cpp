#include "platform/channel_connection.h"
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
    if (const std::optional<int> exitCode =
            quorel::handleCommandLine(std::vector<std::string>(argv, argv + argc), qtOptions,
                                      std::cout, std::cerr, &station)) {
        return *exitCode;
    }
    if (station.empty()) {
        station = quorel::defaultChannelAddress(
            [](const char* name) -> const char* { return std::getenv(name); });
    }
    const auto application = quorel::startQtApplication(argc, argv);
    quorel::QuorelApp quorel(station);
    return quorel.run();
}
