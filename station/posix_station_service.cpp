#include "station/posix_station_service.h"

namespace quorel {

PosixStationService::PosixStationService(std::string dataFolder, std::ostream& errors)
    : service_(ServiceSystem{*this, systemClock_, clock_, pump_, tickTimer_, retryTimer_, device_,
                             clockSync_},
               std::move(dataFolder), errors) {}

void PosixStationService::watchEndRequests(std::function<void()> onRequest) {
    signals_ = std::make_unique<PollUnixSignals>(loop_, std::move(onRequest));
}

} // namespace quorel
