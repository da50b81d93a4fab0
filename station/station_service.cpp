#include "station/station_service.h"

#include "platform/file_layer.h"
#include "relay/port_choice.h"
#include "schedule/journal_sentences.h"

#include <filesystem>
#include <sys/stat.h>

namespace quorel {

void ServiceMessages::message(const std::string& text, MessageIcon) {
    ++told_;
    errors_ << "quorel-station : " << text << std::endl;
    station_.note(text);
}

StationService::StationService(std::string dataFolder, std::string channelPath,
                               std::ostream& errors)
    : dataFolder_(std::move(dataFolder)), channelPath_(std::move(channelPath)), errors_(errors),
      store_(dataFolder_),
      timer_(tickTimer_, systemClock_, [this] { station_.tick.TimerSat_Timer(); }),
      retryTimer_(loop_, kPortRetryMilliseconds, [this] { station_.portChoice.TimerPort_Timer(); }),
      station_(StationServices{clock_, link_, pump_, timer_, retryTimer_, view_, systemFiles(),
                               clockSync_},
               dataFolder_) {}

int StationService::run() {
    std::error_code ignored;
    std::filesystem::create_directories(dataFolder_, ignored);
    if (!station_.takeFolder()) {
        errors_ << "quorel-station : une autre station de Quorel travaille déjà sur le dossier "
                << dataFolder_ << " ; celle-ci s'arrête." << std::endl;
        return 0;
    }
    // A signal during the start-up (whose pauses run the loop) waits for its end.
    signals_ = std::make_unique<PollUnixSignals>(loop_, [this] {
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
    }
    loop_.run();
    return saveFailed_ ? 1 : 0;
}

void StationService::openChannel() {
    view_.onChange([this] {
        hub_.dropSilent();
        channel_.publish(hub_);
    });
    server_ = std::make_unique<UnixSocketServer>(
        loop_, UnixSocketServer::Handlers{
                   [this](UnixSocketServer::ClientId id, const LocalPeer& peer) {
                       hub_.connect(id, peer.user, peer.allowed);
                   },
                   [this](UnixSocketServer::ClientId id, std::string_view bytes) {
                       hub_.receive(id, bytes);
                   },
                   [this](UnixSocketServer::ClientId id) { hub_.disconnect(id); },
                   [this](UnixSocketServer::ClientId id) { return hub_.queue(id); },
                   [this](UnixSocketServer::ClientId id) { return hub_.reading(id); }});
    hub_.flush = [this](ChannelHub::ClientId id) { server_->flush(id); };
    hub_.close = [this](ChannelHub::ClientId id) { server_->close(id); };
    // The members of the data folder's group are the operators.
    struct stat folder {};
    const gid_t group = ::stat(dataFolder_.c_str(), &folder) == 0 ? folder.st_gid : ::getegid();
    const std::string failure = server_->listen(channelPath_, group);
    if (!failure.empty()) {
        // The bells ring on without consoles.
        messages_.message("Canal des consoles indisponible : " + failure, MessageIcon::None);
    }
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
    server_.reset(); // the socket file goes with the station
    loop_.quit();
}

} // namespace quorel
