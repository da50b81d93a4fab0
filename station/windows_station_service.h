#pragma once

#include "platform/windows/ending_events.h"
#include "platform/windows/message_loop_clock.h"
#include "platform/windows/named_pipe_server.h"
#include "platform/windows/pipe_access.h"
#include "platform/windows/serial_device.h"
#include "platform/windows/system_clock.h"
#include "platform/windows/system_serial_ports.h"
#include "platform/windows/waitable_one_shot_timer.h"
#include "platform/windows/win32_event_pump.h"
#include "platform/windows/win32_interval_timer.h"
#include "platform/windows/windows_clock_sync.h"
#include "platform/windows/windows_service.h"
#include "station/station_service.h"

#include <memory>
#include <ostream>
#include <string>

namespace quorel {

// The consoles' channel of Windows: a named pipe for SYSTEM, the Administrators, the members of
// the group "Opérateurs Quorel" (made when missing, if the station may) and the station's own
// user, who may steer the bells.
class PipeChannel final : public ChannelTransport {
  public:
    std::string listen(const std::string& address, const std::string& dataFolder,
                       ChannelHub& hub) override;
    std::string caveat() const override { return access_ ? access_->caveat() : std::string(); }
    void close() override { server_.reset(); }

  private:
    std::unique_ptr<PipeAccess> access_;
    std::unique_ptr<NamedPipeServer> server_;
};

// The station service of Windows, a console program: the message loop of its thread, without a
// window, with its timers and its clock, the COM port, what Windows tells of its time
// synchronisation, and the console's and the session's events that end a program. The loop is
// the message loop of the thread that made the service: what else the service waits for hands
// its work to that thread (a message to a MessageWindow made there) and runs there.
class WindowsStationService final : private ServiceLoop {
  public:
    // As a service, the service manager's stops end the station instead of the console's and
    // the session's events: a user's log-off must not stop the bells.
    WindowsStationService(std::string dataFolder, std::string channel, std::ostream& errors,
                          WindowsService* service = nullptr);

    int run() { return service_.run(); }
    Station& station() { return service_.station(); }

  private:
    void watchEndRequests(std::function<void()> onRequest) override;
    void runLoop() override;
    void quitLoop() override;

    SystemClock systemClock_;
    Win32EventPump pump_;
    MessageLoopClock clock_{systemClock_, pump_};
    SystemSerialDevice device_;
    WindowsClockSync clockSync_;
    WaitableOneShotTimer tickTimer_;
    WaitableOneShotTimer publishTimer_;
    SystemSerialPorts ports_;
    PipeChannel channel_;
    Win32IntervalTimer retryTimer_{kPortRetryMilliseconds, [this] { service_.retryPort(); }};
    WindowsService* windowsService_;
    std::unique_ptr<EndingEvents> endingEvents_;
    StationService service_;
};

} // namespace quorel
