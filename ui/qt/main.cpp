#include "ui/command_line.h"
#include "ui/qt/qt_start.h"
#include "ui/qt/quorel_app.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    // Qt's own options, let through to QApplication.
    const quorel::ToolkitOptions qtOptions{
        {"platform", "style", "stylesheet", "display", "geometry", "qwindowgeometry",
         "qwindowtitle", "qwindowicon", "platformpluginpath", "platformtheme", "plugin", "session"},
        {"reverse"}};
    if (const std::optional<int> exitCode = quorel::handleCommandLine(
            std::vector<std::string>(argv, argv + argc), qtOptions, std::cout, std::cerr)) {
        return *exitCode;
    }
    const auto application = quorel::startQtApplication(argc, argv);
    quorel::QuorelApp quorel;
    return quorel.run();
}
