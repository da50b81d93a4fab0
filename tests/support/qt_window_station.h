#pragma once

#include "tests/support/fake_clock.h"
#include "tests/support/fakes.h"
#include "tests/support/recording_serial_link.h"
#include "tests/support/temp_folder.h"
#include "ui/program.h"
#include "ui/window/main_window.h"

#include <QString>
#include <sstream>

class QWidget;

namespace quorel::test {

// Makes sure a QApplication exists for widget tests (offscreen platform).
void ensureQtApplication();

// Makes a QApplication exist before the members that need one are built.
struct QtApplicationGuard {
    QtApplicationGuard() { ensureQtApplication(); }
};

// The real window bound to the real logic, with a settable clock, a recording serial link and
// recorded dialogs; the program's folder is a temporary folder.
struct WindowStation {
    WindowStation();
    ~WindowStation();
    // Runs the start-up (today is the clock's date) and shows the window.
    void start();

    template <typename Widget> Widget* find(const QString& name) {
        return window.findChild<Widget*>(name);
    }

    QtApplicationGuard qt;
    TempFolder folder;
    FakeClock clock;
    RecordingSerialLink link{&clock};
    FakeEventPump pump;
    FakeDialogs dialogs;
    MemorySettingsStore store;
    FakeStartupEntry startup;
    FakeTimer timer;
    FakeTimer retryTimer;
    std::ostringstream errors;
    MainWindow window;
    Program program;
};

} // namespace quorel::test
