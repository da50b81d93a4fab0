#pragma once

#include "platform/phased_timer.h"
#include "platform/windows/message_loop_clock.h"
#include "platform/windows/named_pipe_connection.h"
#include "platform/windows/registry_settings_store.h"
#include "platform/windows/serial_device.h"
#include "platform/windows/shutdown_deadline.h"
#include "platform/windows/system_clock.h"
#include "platform/windows/system_serial_ports.h"
#include "platform/windows/waitable_one_shot_timer.h"
#include "platform/windows/win32_dialogs.h"
#include "platform/windows/win32_event_pump.h"
#include "platform/windows/win32_interval_timer.h"
#include "platform/windows/windows_clock_sync.h"
#include "platform/windows/windows_startup_entry.h"
#include "relay/device_serial_link.h"
#include "ui/program.h"
#include "ui/win32/win32_main_window.h"

#include <memory>
#include <string>

namespace quorel {

// The program as it runs in service on Windows: the real clock, serial port, registry, start-up
// entry and timers, the window, and the logic bound to them.
class Win32App {
  public:
    // station: the channel of the system's station, whose console the window becomes when it
    // answers.
    explicit Win32App(std::string station);
    ~Win32App();
    Win32App(const Win32App&) = delete;
    Win32App& operator=(const Win32App&) = delete;

    // Runs the start-up, shows the window and handles messages until the program ends.
    int run();

  private:
    SystemClock systemClock_;
    Win32EventPump pump_;
    MessageLoopClock clock_{systemClock_, pump_};
    RegistrySettingsStore store_;
    SystemSerialDevice device_;
    // The link waits for a busy device without running other handlers: the plain system clock.
    DeviceSerialLink link_{store_, device_, systemClock_};
    SystemSerialPorts ports_;
    WindowsClockSync clockSync_;
    Win32Dialogs dialogs_;
    WindowsStartupEntry startup_;
    Win32MainWindow window_;
    WaitableOneShotTimer tickTimer_;
    PhasedTimer timer_;
    Win32IntervalTimer retryTimer_;
    ShutdownDeadline deadline_;
    std::unique_ptr<Program> program_;
    std::string station_;
    NamedPipeConnection connection_{station_};
    // A console shows what its station sends within a few hundredths of a second.
    Win32IntervalTimer consoleTimer_;
};

} // namespace quorel
