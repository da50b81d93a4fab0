#pragma once

#include "core/view.h"
#include "platform/dialogs.h"
#include "platform/ini_settings_store.h"
#include "platform/phased_timer.h"
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
#include "platform/posix/unix_socket_server.h"
#include "relay/device_serial_link.h"
#include "station/channel_hub.h"
#include "station/station.h"
#include "station/station_channel.h"

#include <memory>
#include <ostream>
#include <string>

namespace quorel {

// Nothing to draw, the station runs without a window: a change is sent to the consoles instead,
// once the handler that made it returns to the loop.
class ChannelView final : public View {
  public:
    explicit ChannelView(PollEventLoop& loop) : loop_(loop) {}
    ~ChannelView() override { loop_.removeTimer(publish_); }
    void onChange(std::function<void()> publish) { publish_ = loop_.addTimer(std::move(publish)); }
    void redraw(ViewPart) override {
        if (publish_ != 0 && !loop_.timerActive(publish_)) {
            loop_.startTimer(publish_, 0);
        }
    }

  private:
    PollEventLoop& loop_;
    PollEventLoop::TimerId publish_ = 0;
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

// The station on its own, as a system service: the real clock, serial device and kernel clock
// synchronisation, the settings store's VornAlmare.ini in the data folder, the toolkit-free
// event loop, the ending signals, and the consoles' channel at channelPath.
class StationService {
  public:
    StationService(std::string dataFolder, std::string channelPath, std::ostream& errors);
    StationService(const StationService&) = delete;
    StationService& operator=(const StationService&) = delete;

    // Takes the data folder, starts the station and runs until an ending signal: 0, or 1 when
    // the shut-down could not save the port choice. A second station on the same folder stands
    // back at once, with 0.
    int run();

  private:
    void shutDown();
    void openChannel();

    std::string dataFolder_;
    std::string channelPath_;
    std::ostream& errors_;
    SystemClock systemClock_;
    PollEventLoop loop_;
    PollEventPump pump_{loop_};
    PollLoopClock clock_{systemClock_, loop_};
    IniSettingsStore store_;
    SystemSerialDevice device_;
    // The link waits for a busy device without running other handlers: the plain system clock.
    DeviceSerialLink link_{store_, device_, systemClock_};
    KernelClockSync clockSync_;
    ChannelView view_{loop_};
    PollOneShotTimer tickTimer_{loop_};
    PhasedTimer timer_;
    PollIntervalTimer retryTimer_;
    Station station_;
    ServiceMessages messages_{errors_, station_};
    SystemSerialPorts ports_;
    StationChannel channel_{station_, systemFiles(), store_, ports_, clock_};
    ChannelHub hub_{clock_, station_.journal(),
                    [this](const Message& request) { return channel_.handle(request); }};
    std::unique_ptr<UnixSocketServer> server_;
    std::unique_ptr<PollUnixSignals> signals_;
    bool starting_ = false;
    bool stopAsked_ = false;
    bool ended_ = false;
    bool saveFailed_ = false;
};

} // namespace quorel
