#include "station/posix_station_service.h"

#include <sys/stat.h>
#include <unistd.h>

namespace quorel {

std::string UnixChannel::listen(const std::string& address, const std::string& dataFolder,
                                ChannelHub& hub) {
    server_ = std::make_unique<UnixSocketServer>(
        loop_, UnixSocketServer::Handlers{
                   [&hub](UnixSocketServer::ClientId id, const LocalPeer& peer) {
                       hub.connect(id, peer.user, peer.allowed);
                   },
                   [&hub](UnixSocketServer::ClientId id, std::string_view bytes) {
                       hub.receive(id, bytes);
                   },
                   [&hub](UnixSocketServer::ClientId id) { hub.disconnect(id); },
                   [&hub](UnixSocketServer::ClientId id) { return hub.queue(id); },
                   [&hub](UnixSocketServer::ClientId id) { return hub.reading(id); }});
    hub.flush = [this](ChannelHub::ClientId id) { server_->flush(id); };
    hub.close = [this](ChannelHub::ClientId id) { server_->close(id); };
    // The members of the data folder's group are the operators.
    struct stat folder {};
    const gid_t group = ::stat(dataFolder.c_str(), &folder) == 0 ? folder.st_gid : ::getegid();
    return server_->listen(address, group);
}

PosixStationService::PosixStationService(std::string dataFolder, std::string channel,
                                         std::ostream& errors)
    : service_(ServiceSystem{*this, systemClock_, clock_, pump_, tickTimer_, retryTimer_, device_,
                             clockSync_, publishTimer_, ports_, channel_,
                             PhasedTimer::kNeverEarlyOffsetMicroseconds, &manager_},
               std::move(dataFolder), std::move(channel), errors) {}

void PosixStationService::watchEndRequests(std::function<void()> onRequest) {
    signals_ = std::make_unique<PollUnixSignals>(loop_, std::move(onRequest));
}

} // namespace quorel
