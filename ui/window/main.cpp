#include "ui/window/command_line.h"
#include "ui/window/qt_start.h"
#include "ui/window/quorel_app.h"

int main(int argc, char** argv) {
    if (const std::optional<int> exitCode = quorel::handleCommandLine(argc, argv)) {
        return *exitCode;
    }
    const auto application = quorel::startQtApplication(argc, argv);
    quorel::QuorelApp quorel;
    return quorel.run();
}
