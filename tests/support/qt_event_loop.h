#pragma once

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

namespace quorel::test {

// Creates the application object the Qt classes need (a QApplication for widgets), once per test
// process.
template <typename Application = QCoreApplication> void ensureApplication() {
    static int argc = 1;
    static char name[] = "quorel-test";
    static char* argv[] = {name, nullptr};
    if (QCoreApplication::instance() == nullptr) {
        new Application(argc, argv);
    }
}

// Runs the Qt event loop for the given milliseconds (idle in between, no spinning).
inline void runEventsFor(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace quorel::test
