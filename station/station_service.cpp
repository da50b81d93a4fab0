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

StationService::StationService(const ServiceSystem& system, std::string dataFolder,
                               std::ostream& errors)
    : system_(system), dataFolder_(std::move(dataFolder)), errors_(errors), store_(dataFolder_),
      link_(store_, system.device, system.clock),
      timer_(system.tickTimer, system.clock, [this] { station_.tick.TimerSat_Timer(); }),
      station_(StationServices{system.loopClock, link_, system.pump, timer_, system.retryTimer,
                               view_, systemFiles(), system.clockSync},
               dataFolder_) {}

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
    if (stopAsked_) {
        shutDown();
    }
    system_.loop.runLoop();
    return saveFailed_ ? 1 : 0;
}

void StationService::shutDown() {
    if (ended_) {
        return;
    }
    ended_ = true;
    // The relays before the settings file, which may be slow: a relay left on rings on.
    station_.switchOff();
    const int toldBefore = messages_.told();
    station_.saveSettings(messages_);
    saveFailed_ = messages_.told() != toldBefore;
    station_.close("signal");
    system_.loop.quitLoop();
}

} // namespace quorel
