#pragma once

#include "core/view.h"
#include "platform/clock.h"
#include "platform/clock_sync.h"
#include "platform/dialogs.h"
#include "platform/event_pump.h"
#include "platform/ini_settings_store.h"
#include "platform/one_shot_timer.h"
#include "platform/phased_timer.h"
#include "platform/serial_device.h"
#include "platform/serial_ports.h"
#include "platform/service_manager.h"
#include "platform/timer.h"
#include "relay/device_serial_link.h"
#include "station/channel_hub.h"
#include "station/station.h"
#include "station/station_channel.h"

#include <functional>
#include <ostream>
#include <string>

namespace quorel {

// Nothing to draw, the station runs without a window: a change is sent to the consoles instead,
// once the handler that made it has returned to the loop.
class ChannelView final : public View {
  public:
    ChannelView(OneShotTimer& timer, std::function<void()> publish);
    void redraw(ViewPart) override;

  private:
    OneShotTimer& timer_;
    bool pending_ = false;
};

// The system's end of the consoles' channel (a Unix socket, a named pipe): it hands the hub each
// connection with its user, and what each console sends; it writes what the hub queues.
class ChannelTransport {
  public:
    virtual ~ChannelTransport() = default;
    // Listens at address for consoles of the station whose data folder is given (whose group
    // or access list tells who may steer the bells). The reason in French on failure.
    virtual std::string listen(const std::string& address, const std::string& dataFolder,
                               ChannelHub& hub) = 0;
    // What the channel that listens could not set up as it should (who may connect), in French,
    // for the station to say once; empty when all was.
    virtual std::string caveat() const { return {}; }
    // Closes every connection and the channel itself.
    virtual void close() = 0;
};

// What the window would tell in a box: a line on the error output, "quorel-station : <text>",
// and the same text in the journal. Nobody is there to answer a question.
class ServiceMessages final : public Dialogs {
  public:
    ServiceMessages(std::ostream& errors, Station& station) : errors_(errors), station_(station) {}
    void message(const std::string& text, MessageIcon) override;
    Answer ask(const std::string&) override { return Answer::Cancel; }
    int told() const { return told_; }

  private:
    std::ostream& errors_;
    Station& station_;
    int told_ = 0;
};

// The loop a station service runs on, as its system makes it, with that system's requests to
// end the service (the ending signals, the console's events).
class ServiceLoop {
  public:
    virtual ~ServiceLoop() = default;
    // From now on, each request to end calls onRequest on the loop's thread, from the loop (a
    // pause of the loop's clock included); a request that comes while one runs calls it again.
    virtual void watchEndRequests(std::function<void()> onRequest) = 0;
    // Runs the loop until quitLoop(); from then on the loop's clock and pump handle no event.
    virtual void runLoop() = 0;
    virtual void quitLoop() = 0;
};

// What each system gives the station service.
struct ServiceSystem {
    ServiceLoop& loop;
    Clock& clock;               // the system's clock, whose pause only waits
    Clock& loopClock;           // the same clock, whose pause runs the loop meanwhile
    EventPump& pump;            // runs what is ready on the loop
    OneShotTimer& tickTimer;    // armed for each 200 ms slot of the scheduler's tick
    Timer& retryTimer;          // calls StationService::retryPort every 5 s while enabled
    SerialDevice& device;       // the relay module's port
    ClockSyncSource& clockSync; // the clock's synchronisation
    OneShotTimer& publishTimer; // sends a change to the consoles, started at 0
    SerialPorts& ports;         // the serial devices present, for the consoles' "Ports…"
    ChannelTransport& channel;  // the consoles' channel
    // How long after the start of each 200 ms slot the tick falls: as early as tickTimer allows.
    int64_t tickOffsetMicroseconds = PhasedTimer::kOffsetMicroseconds;
    // The service manager to tell of the start-up, of the ticks and of the shut-down; none: no
    // one is told.
    ServiceManager* manager = nullptr;
    // What the journal's last line says asked for the end: "Arrêt de Quorel : <endCause>".
    const char* endCause = "signal";
};

// The scheduler's timer as the station sees it. While a service manager watches the station, the
// phased timer runs from the start to the shut-down, so that each of its slots can tell the
// manager that the loop and the tick are alive, a port open or not; the station's tick runs in a
// slot only while the station has this timer enabled.
class WatchedTimer final : public Timer {
  public:
    explicit WatchedTimer(Timer& slots) : slots_(slots) {}
    void setEnabled(bool enabled) override {
        enabled_ = enabled;
        slots_.setEnabled(enabled_ || watched_);
    }
    bool isEnabled() const override { return enabled_; }
    void watch(bool watched) {
        watched_ = watched;
        slots_.setEnabled(enabled_ || watched_);
    }

  private:
    Timer& slots_;
    bool enabled_ = false;
    bool watched_ = false;
};

// The station on its own, as a system service, the same on every system: its settings store is
// the VornAlmare.ini of the data folder, it starts and shuts down in the same order, and ends with
// the same status. The loop, timers, clock, serial device, clock synchronisation and requests to
// end are the system's, which builds this with them.
class StationService {
  public:
    StationService(const ServiceSystem& system, std::string dataFolder, std::string channel,
                   std::ostream& errors);
    StationService(const StationService&) = delete;
    StationService& operator=(const StationService&) = delete;

    // Takes the data folder (made when missing), starts the station and runs the loop until a
    // request to end: 0, or 1 when the shut-down could not save the port choice. A second
    // station on the same folder stands back at once, with 0.
    int run();
    // The system's retry timer went off: the port that would not open is tried again.
    void retryPort() { station_.portChoice.TimerPort_Timer(); }
    Station& station() { return station_; }

  private:
    void onSlot();
    void shutDown();
    void openChannel();

    ServiceSystem system_;
    std::string dataFolder_;
    std::string channelAddress_;
    std::ostream& errors_;
    IniSettingsStore store_;
    // The link waits for a busy device without running other handlers: the plain system clock.
    DeviceSerialLink link_;
    ChannelView view_;
    PhasedTimer timer_;
    WatchedTimer scheduler_{timer_};
    Station station_;
    ServiceMessages messages_{errors_, station_};
    StationChannel channel_;
    ChannelHub hub_;
    bool starting_ = false;
    bool stopAsked_ = false;
    bool ended_ = false;
    bool saveFailed_ = false;
    // A quarter of the manager's watchdog period, 0 when unwatched, and the last time it was told.
    double aliveEverySeconds_ = 0;
    double toldAliveAt_ = 0;
};

} // namespace quorel
