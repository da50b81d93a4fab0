#include "ui/window/command_line.h"
#include "ui/window/quorel_app.h"

#include <QApplication>

int main(int argc, char** argv) {
    if (const std::optional<int> exitCode = quorel::handleCommandLine(argc, argv)) {
        return *exitCode;
    }
    QApplication application(argc, argv);
    quorel::QuorelApp quorel;
    return quorel.run();
}
