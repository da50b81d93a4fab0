#pragma once

#include "platform/clock.h"
#include "platform/one_shot_timer.h"
#include "platform/timer.h"

#include <cstdint>
#include <functional>

namespace quorel {

// The scheduler's 200 ms timer, phased to the wall-clock second: its ticks fall a few
// milliseconds after .000, .200, .400, .600 and .800 of each second, so an entry's second is
// acted on at its very start. A tick that comes late fires once for its slot; the slots it
// missed are skipped. Disabled at creation. It arms the one-shot timer for each slot in turn,
// from the clock's wall time.
class PhasedTimer final : public Timer {
  public:
    static constexpr int64_t kPeriodMicroseconds = 200'000;
    static constexpr int64_t kOffsetMicroseconds = 5'000;
    // Enough after the second's start for a one-shot timer that never fires early (a timer
    // descriptor on the monotonic clock), even while the wall clock is slewed against it.
    static constexpr int64_t kNeverEarlyOffsetMicroseconds = 1'000;

    // offsetMicroseconds: how long after the start of each slot the tick falls.
    PhasedTimer(OneShotTimer& timer, Clock& clock, std::function<void()> onTick,
                int64_t offsetMicroseconds = kOffsetMicroseconds);
    PhasedTimer(const PhasedTimer&) = delete;
    PhasedTimer& operator=(const PhasedTimer&) = delete;

    void setEnabled(bool enabled) override;
    bool isEnabled() const override { return enabled_; }

  private:
    void armForNextSlot();
    void onExpiry();

    OneShotTimer& timer_;
    Clock& clock_;
    std::function<void()> onTick_;
    int64_t offset_;
    bool enabled_ = false;
    int64_t lastSlot_ = INT64_MIN;
};

} // namespace quorel
