#include "platform/posix/kernel_clock_sync.h"

#include <sys/timex.h>

namespace quorel {

ClockSync clockSyncFrom(int result, int status, long estimatedMicroseconds, long maxMicroseconds) {
    if (result == -1) {
        return {};
    }
    const double maxError = static_cast<double>(maxMicroseconds) / 1e6;
    if (result == TIME_ERROR || (status & STA_UNSYNC) != 0) {
        return {ClockSync::State::Unsynchronised, 0, maxError};
    }
    return {ClockSync::State::Synchronised, static_cast<double>(estimatedMicroseconds) / 1e6,
            maxError};
}

ClockSync KernelClockSync::read() {
    timex asked{};
    asked.modes = 0; // read only: allowed to every user
    const int result = ::ntp_adjtime(&asked);
    return clockSyncFrom(result, asked.status, asked.esterror, asked.maxerror);
}

} // namespace quorel
