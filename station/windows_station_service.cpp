#include "station/windows_station_service.h"

#include "platform/windows/message_loop.h"

namespace quorel {

WindowsStationService::WindowsStationService(std::string dataFolder, std::string channel,
                                             std::ostream& errors)
    : service_(ServiceSystem{*this, systemClock_, clock_, pump_, tickTimer_, retryTimer_, device_,
                             clockSync_, publishTimer_, ports_, channel_},
               std::move(dataFolder), std::move(channel), errors) {}

void WindowsStationService::watchEndRequests(std::function<void()> onRequest) {
    endingEvents_ = std::make_unique<EndingEvents>(std::move(onRequest));
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
