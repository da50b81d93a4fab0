#include "station/station_service.h"

#include "platform/file_layer.h"
#include "schedule/journal_sentences.h"

#include <filesystem>

namespace quorel {

void ServiceMessages::message(const std::string& text, MessageIcon) {
    ++told_;
    errors_ << "quorel-station : " << text << std::endl;
    station_.note(text);
}

ChannelView::ChannelView(OneShotTimer& timer, std::function<void()> publish) : timer_(timer) {
    timer_.setExpiryHandler([this, publish = std::move(publish)] {
        pending_ = false;
        publish();
    });
}

void ChannelView::redraw(ViewPart) {
    if (!pending_) {
        pending_ = true;
        timer_.start(0);
    }
}

StationService::StationService(const ServiceSystem& system, std::string dataFolder,
                               std::string channel, std::ostream& errors)
    : system_(system), dataFolder_(std::move(dataFolder)), channelAddress_(std::move(channel)),
      errors_(errors), store_(dataFolder_), link_(store_, system.device, system.clock),
      view_(system.publishTimer,
            [this] {
                hub_.dropSilent();
                channel_.publish(hub_);
            }),
      timer_(
          system.tickTimer, system.clock, [this] { onSlot(); }, system.tickOffsetMicroseconds),
      station_(StationServices{system.loopClock, link_, system.pump, scheduler_, system.retryTimer,
                               view_, systemFiles(), system.clockSync},
               dataFolder_),
      channel_(station_, systemFiles(), store_, system.ports, system.loopClock),
      hub_(system.loopClock, station_.journal(),
           [this](const Message& request) { return channel_.handle(request); }) {}

int StationService::run() {
    // The path is UTF-8 on every system; Windows would read a plain string in its ANSI code page.
    std::error_code ignored;
    std::filesystem::create_directories(
        std::filesystem::path(std::u8string(dataFolder_.begin(), dataFolder_.end())), ignored);
    if (!station_.takeFolder()) {
        errors_ << "quorel-station : une autre station de Quorel travaille déjà sur le dossier "
                << dataFolder_ << " ; celle-ci s'arrête." << std::endl;
        return 0;
    }
    if (system_.manager != nullptr) {
        aliveEverySeconds_ = static_cast<double>(system_.manager->watchdogMicroseconds()) / 4e6;
        toldAliveAt_ = system_.clock.monotonicSeconds();
        scheduler_.watch(aliveEverySeconds_ > 0);
    }
    // A request during the start-up (whose pauses run the loop) waits for its end.
    system_.loop.watchEndRequests([this] {
        if (starting_) {
            stopAsked_ = true;
        } else {
            shutDown();
        }
    });
    starting_ = true;
    station_.open(serviceStartSentence(QUOREL_VERSION), messages_);
    station_.startBells();
    starting_ = false;
    openChannel();
    if (stopAsked_) {
        shutDown();
    } else if (system_.manager != nullptr) {
        system_.manager->ready();
    }
    system_.loop.runLoop();
    return saveFailed_ ? 1 : 0;
}

// Told a quarter of the period apart, on 200 ms slots, the manager hears from the station at
// least every half period while the slots run; a slot that stops coming (a tick that never
// returns, a loop that hangs) gets the station restarted.
void StationService::onSlot() {
    if (scheduler_.isEnabled()) {
        station_.tick.TimerSat_Timer();
    }
    if (aliveEverySeconds_ > 0 &&
        system_.clock.monotonicSeconds() - toldAliveAt_ >= aliveEverySeconds_) {
        toldAliveAt_ = system_.clock.monotonicSeconds();
        system_.manager->alive();
    }
}

void StationService::openChannel() {
    const std::string failure = system_.channel.listen(channelAddress_, dataFolder_, hub_);
    if (!failure.empty()) {
        // The bells ring on without consoles.
        messages_.message("Canal des consoles indisponible : " + failure, MessageIcon::None);
    } else if (const std::string caveat = system_.channel.caveat(); !caveat.empty()) {
        messages_.message("Canal des consoles : " + caveat, MessageIcon::None);
    }
}

void StationService::shutDown() {
    if (ended_) {
        return;
    }
    ended_ = true;
    if (system_.manager != nullptr) {
        system_.manager->stopping();
    }
    scheduler_.watch(false);
    // The relays before the settings file, which may be slow: a relay left on rings on.
    station_.switchOff();
    const int toldBefore = messages_.told();
    station_.saveSettings(messages_);
    saveFailed_ = messages_.told() != toldBefore;
    station_.close(system_.endCause);
    system_.channel.close(); // the socket file goes with the station
    system_.loop.quitLoop();
}

} // namespace quorel
