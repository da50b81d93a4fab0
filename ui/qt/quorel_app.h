#pragma once

#ifdef _WIN32
#include "platform/windows/registry_settings_store.h"
#include "platform/windows/serial_device.h"
#include "platform/windows/system_clock.h"
#include "platform/windows/system_serial_ports.h"
#include "platform/windows/windows_clock_sync.h"
#include "platform/windows/windows_startup_entry.h"
#else
#include "platform/ini_settings_store.h"
#include "platform/posix/kernel_clock_sync.h"
#include "platform/posix/serial_device.h"
#include "platform/posix/system_clock.h"
#include "platform/posix/system_serial_ports.h"
#include "platform/posix/unix_socket_connection.h"
#include "platform/posix/xdg_startup_entry.h"
#endif
#include "platform/phased_timer.h"
#include "platform/qt/event_loop_clock.h"
#include "platform/qt/qt_dialogs.h"
#include "platform/qt/qt_event_pump.h"
#include "platform/qt/qt_one_shot_timer.h"
#include "platform/user_folders.h"
#include "relay/device_serial_link.h"
#include "ui/program.h"
#include "ui/qt/main_window.h"

#include <memory>

namespace quorel {

class IntervalTimer;
class UnixSignals;

// The program as it runs in service: the real clock, serial port, settings store, start-up
// entry and timer, the window, and the logic bound to them.
class QuorelApp {
  public:
    // station: the channel of the system's station, whose console the window becomes when it
    // answers.
    explicit QuorelApp(std::string station);
    ~QuorelApp();

    // Runs the start-up, shows the window and handles events until the program ends.
    int run();

  private:
    SystemClock systemClock_;
    QtEventPump pump_;
    EventLoopClock clock_{systemClock_, pump_};
#ifdef _WIN32
    RegistrySettingsStore store_;
#else
    IniSettingsStore store_{userConfigFolder()};
#endif
    SystemSerialDevice device_;
    // The link waits for a busy device without running other handlers: the plain system clock.
    DeviceSerialLink link_{store_, device_, systemClock_};
    SystemSerialPorts ports_;
#ifdef _WIN32
    WindowsClockSync clockSync_;
#else
    KernelClockSync clockSync_;
#endif
    QtDialogs dialogs_;
#ifdef _WIN32
    WindowsStartupEntry startup_;
#else
    XdgStartupEntry startup_{userConfigFolder()};
#endif
    MainWindow window_;
    QtOneShotTimer tickTimer_;
    PhasedTimer timer_;
    IntervalTimer* retryTimer_; // owned by the window
    std::unique_ptr<Program> program_;
    std::string station_;
#ifndef _WIN32
    UnixSocketConnection connection_{station_};
#endif
    IntervalTimer* consoleTimer_;    // owned by the window
    UnixSignals* signals_ = nullptr; // owned by the window; POSIX systems only
};

} // namespace quorel
