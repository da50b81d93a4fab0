#include "tests/support/qt_window_station.h"

#include <QApplication>
#include <cstdlib>
#include <sys/stat.h>

namespace quorel::test {

void ensureQtApplication() {
    if (QApplication::instance() != nullptr) {
        return;
    }
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    // Qt wants a private runtime folder; one per test process keeps its warning quiet.
    if (std::getenv("XDG_RUNTIME_DIR") == nullptr) {
        static const TempFolder runtime;
        ::chmod(runtime.path().c_str(), 0700);
        ::setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1);
    }
    static int argc = 1;
    static char name[] = "quorel-tests";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
}

WindowStation::WindowStation()
    : program(PlatformServices{clock, link, pump, dialogs, store, startup, timer, retryTimer,
                               window, errors},
              folder.path(), folder.path() + "quorel") {
    window.attach(program);
}

WindowStation::~WindowStation() {
    window.detach();
}

void WindowStation::start() {
    program.Form_Load(window);
    window.show();
}

} // namespace quorel::test
