#pragma once

#include "tests/support/program_station.h"
#include "tests/support/qt_event_loop.h"
#include "ui/qt/main_window.h"

#include <QApplication>
#include <sys/stat.h>

namespace quorel::test {

// Makes sure a QApplication exists for widget tests (offscreen platform).
inline void ensureQtApplication() {
    if (QApplication::instance() == nullptr) {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
        // Qt wants a private runtime folder; one per test process keeps its warning quiet.
        static const TempFolder runtime;
        ::chmod(runtime.path().c_str(), 0700);
        ::setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 0);
        ensureApplication<QApplication>();
    }
}

// Makes a QApplication exist before the window that needs one is built.
struct QtApplicationGuard {
    QtApplicationGuard() { ensureQtApplication(); }
};

// The real window bound to the real logic; start() also shows it.
struct WindowStation : QtApplicationGuard, ProgramStation<MainWindow> {
    WindowStation() { window.attach(program); }
    ~WindowStation() { window.detach(); }
    void start(LocalDate date = {2020, 6, 22}, double seconds = 0,
               const std::map<std::string, std::string>& files = {}) {
        ProgramStation::start(date, seconds, files);
        window.show();
    }
    template <typename Widget> Widget* find(const QString& name) {
        return window.findChild<Widget*>(name);
    }
};

} // namespace quorel::test
