#pragma once

#include "platform/posix/kernel_clock_sync.h"
#include "platform/posix/poll_event_loop.h"
#include "platform/posix/poll_event_pump.h"
#include "platform/posix/poll_interval_timer.h"
#include "platform/posix/poll_loop_clock.h"
#include "platform/posix/poll_one_shot_timer.h"
#include "platform/posix/poll_unix_signals.h"
#include "platform/posix/serial_device.h"
#include "platform/posix/system_clock.h"
#include "platform/posix/system_serial_ports.h"
#include "platform/posix/systemd_manager.h"
#include "platform/posix/unix_socket_server.h"
#include "station/station_service.h"

#include <memory>
#include <ostream>
#include <string>

namespace quorel {

// The consoles' channel of POSIX systems: a Unix socket in the group of the data folder, whose
// members may steer the bells.
class UnixChannel final : public ChannelTransport {
  public:
    explicit UnixChannel(PollEventLoop& loop) : loop_(loop) {}
    std::string listen(const std::string& address, const std::string& dataFolder,
                       ChannelHub& hub) override;
    void close() override { server_.reset(); }

  private:
    PollEventLoop& loop_;
    std::unique_ptr<UnixSocketServer> server_;
};

// The station service of POSIX systems: the toolkit-free loop (ppoll) with its timers and its
// clock, the serial device, the kernel's clock synchronisation, the ending signals, and systemd.
class PosixStationService final : private ServiceLoop {
  public:
    PosixStationService(std::string dataFolder, std::string channel, std::ostream& errors);

    int run() { return service_.run(); }
    // The loop that runs the station, for what else the service watches.
    PollEventLoop& loop() { return loop_; }
    Station& station() { return service_.station(); }

  private:
    void watchEndRequests(std::function<void()> onRequest) override;
    void runLoop() override { loop_.run(); }
    void quitLoop() override { loop_.quit(); }

    SystemClock systemClock_;
    PollEventLoop loop_;
    PollEventPump pump_{loop_};
    PollLoopClock clock_{systemClock_, loop_};
    SystemSerialDevice device_;
    KernelClockSync clockSync_;
    PollOneShotTimer tickTimer_{loop_};
    PollOneShotTimer publishTimer_{loop_};
    SystemSerialPorts ports_;
    UnixChannel channel_{loop_};
    PollIntervalTimer retryTimer_{loop_, kPortRetryMilliseconds, [this] { service_.retryPort(); }};
    std::unique_ptr<PollUnixSignals> signals_;
    SystemdManager manager_;
    StationService service_;
};

} // namespace quorel
