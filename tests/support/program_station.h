#pragma once

#include "tests/support/fake_clock.h"
#include "tests/support/fakes.h"
#include "tests/support/recording_serial_link.h"
#include "tests/support/temp_folder.h"
#include "ui/program.h"

#include <map>
#include <sstream>

namespace quorel::test {

// A window that draws nothing and notes where the start-up placed it.
struct FakeWindow : View, WindowGeometry {
    void redraw(ViewPart) override {}
    TwipsSize outerSize() override { return {7680, 7200}; }
    TwipsSize screenSize() override { return {19200, 14400}; }
    void moveTo(TwipsPoint position) override { placed = position; }
    TwipsPoint placed{-1, -1};
};

// The real logic with fake services, shown in Window (a View and a WindowGeometry); the
// program's folder is a temporary folder.
template <typename Window, typename Startup = FakeStartupEntry> struct ProgramStation {
    ProgramStation() = default;
    // A station whose program works on the data folder of another one.
    explicit ProgramStation(const std::string& otherDataFolder) : dataFolder(otherDataFolder) {}

    // Runs the start-up on a date at a time of day, with the given files in the program's folder.
    void start(LocalDate date, double seconds,
               const std::map<std::string, std::string>& files = {}) {
        clock.set(date, seconds);
        for (const auto& [name, bytes] : files) {
            folder.write(name, bytes);
        }
        program.Form_Load(window);
    }

    TempFolder folder;
    std::string dataFolder = folder.path();
    FakeClock clock;
    RecordingSerialLink link{&clock};
    FakeEventPump pump;
    FakeDialogs dialogs;
    MemorySettingsStore store;
    Startup startup;
    FakeTimer timer;
    FakeTimer retryTimer;
    std::ostringstream errors;
    HookedFiles files;
    FakeSerialPorts ports;
    FakeClockSync clockSync;
    Window window;
    Program program{PlatformServices{clock, link, pump, dialogs, store, startup, timer, retryTimer,
                                     window, errors, files, ports, clockSync},
                    dataFolder, dataFolder + "quorel"};
};

} // namespace quorel::test
