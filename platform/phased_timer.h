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

    PhasedTimer(OneShotTimer& timer, Clock& clock, std::function<void()> onTick);
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
    bool enabled_ = false;
    int64_t lastSlot_ = INT64_MIN;
};

} // namespace quorel
