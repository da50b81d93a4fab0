#include "tests/support/qt_event_loop.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

namespace quorel::test {

void ensureCoreApplication() {
    if (QCoreApplication::instance() == nullptr) {
        static int argc = 1;
        static char name[] = "quorel-test";
        static char* argv[] = {name, nullptr};
        new QCoreApplication(argc, argv);
    }
}

void runEventsFor(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

bool runEventsUntil(const std::function<bool()>& done, int timeoutMilliseconds) {
    QElapsedTimer elapsed;
    elapsed.start();
    while (!done() && elapsed.elapsed() < timeoutMilliseconds) {
        runEventsFor(10);
    }
    return done();
}

} // namespace quorel::test
