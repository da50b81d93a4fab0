#include "station/windows_station_service.h"

#include "platform/windows/message_loop.h"

namespace quorel {

std::string PipeChannel::listen(const std::string& address, const std::string&, ChannelHub& hub) {
    access_ = std::make_unique<PipeAccess>();
    server_ = std::make_unique<NamedPipeServer>(NamedPipeServer::Handlers{
        [&hub](NamedPipeServer::ClientId id, const PipePeer& peer) {
            hub.connect(id, peer.user, peer.allowed);
        },
        [&hub](NamedPipeServer::ClientId id, std::string_view bytes) { hub.receive(id, bytes); },
        [&hub](NamedPipeServer::ClientId id) { hub.disconnect(id); },
        [&hub](NamedPipeServer::ClientId id) { return hub.queue(id); },
        [&hub](NamedPipeServer::ClientId id) { return hub.reading(id); }});
    // The messages already posted still run once the station has closed its channel: a change
    // published then finds no server.
    hub.flush = [this](ChannelHub::ClientId id) {
        if (server_) {
            server_->flush(id);
        }
    };
    hub.close = [this](ChannelHub::ClientId id) {
        if (server_) {
            server_->close(id);
        }
    };
    return server_->listen(address, *access_);
}

namespace {

ServiceSystem serviceSystem(ServiceSystem system, ServiceManager* manager) {
    system.manager = manager;
    if (manager != nullptr) {
        system.endCause = "arrêt du service";
    }
    return system;
}

} // namespace

WindowsStationService::WindowsStationService(std::string dataFolder, std::string channel,
                                             std::ostream& errors, WindowsService* service)
    : windowsService_(service),
      service_(
          serviceSystem(ServiceSystem{*this, systemClock_, clock_, pump_, tickTimer_, retryTimer_,
                                      device_, clockSync_, publishTimer_, ports_, channel_},
                        service),
          std::move(dataFolder), std::move(channel), errors) {}

void WindowsStationService::watchEndRequests(std::function<void()> onRequest) {
    if (windowsService_ != nullptr) {
        windowsService_->watchStops(std::move(onRequest));
    } else {
        endingEvents_ = std::make_unique<EndingEvents>(std::move(onRequest));
    }
}

void WindowsStationService::runLoop() {
    runMessageLoop();
}

// No further handler runs, not even inside a pause still under way.
void WindowsStationService::quitLoop() {
    pump_.stop();
    quitMessageLoop(0);
}

} // namespace quorel
