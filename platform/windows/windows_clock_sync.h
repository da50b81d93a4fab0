#pragma once

#include "platform/clock_sync.h"

namespace quorel {

// What Windows tells every user of its time synchronisation: the Windows Time service's
// configured type. "NoSync" (synchronisation switched off) is an unsynchronised clock; anything
// else says nothing of how well the clock is set, so the state is unknown.
class WindowsClockSync final : public ClockSyncSource {
  public:
    ClockSync read() override;
};

} // namespace quorel
