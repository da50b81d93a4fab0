#pragma once

#include "platform/clock_sync.h"

namespace quorel {

// The kernel's view of its clock (ntp_adjtime with no change asked): unsynchronised when it says
// so (TIME_ERROR, or the STA_UNSYNC status bit), else synchronised with its estimated and maximum
// errors (microseconds in the kernel's fields).
ClockSync clockSyncFrom(int result, int status, long estimatedMicroseconds, long maxMicroseconds);

class KernelClockSync final : public ClockSyncSource {
  public:
    ClockSync read() override;
};

} // namespace quorel
