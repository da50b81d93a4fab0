#include "platform/phased_timer.h"

namespace quorel {

namespace {

// Slot n begins at n * 200 ms + the offset past the epoch, hence past every wall-clock second.
int64_t slotAt(int64_t microseconds, int64_t offset) {
    const int64_t shifted = microseconds - offset;
    const int64_t slot = shifted / PhasedTimer::kPeriodMicroseconds;
    return shifted < 0 && shifted % PhasedTimer::kPeriodMicroseconds != 0 ? slot - 1 : slot;
}

int64_t slotStart(int64_t slot, int64_t offset) {
    return slot * PhasedTimer::kPeriodMicroseconds + offset;
}

// A precise timer may wake up to a millisecond early; such a wake-up belongs to the slot it
// was armed for.
constexpr int64_t kEarlyWakeTolerance = 1'500;

} // namespace

PhasedTimer::PhasedTimer(OneShotTimer& timer, Clock& clock, std::function<void()> onTick,
                         int64_t offsetMicroseconds)
    : timer_(timer), clock_(clock), onTick_(std::move(onTick)), offset_(offsetMicroseconds) {
    timer_.setExpiryHandler([this] { onExpiry(); });
}

void PhasedTimer::setEnabled(bool enabled) {
    if (enabled == enabled_) {
        return;
    }
    enabled_ = enabled;
    if (enabled) {
        armForNextSlot();
    } else {
        timer_.stop();
    }
}

void PhasedTimer::armForNextSlot() {
    const int64_t now = clock_.wallMicroseconds();
    int64_t next = slotAt(now, offset_) + 1;
    if (next == lastSlot_) {
        ++next; // woken just before the slot it has already fired for
    }
    timer_.start(slotStart(next, offset_) - now);
}

void PhasedTimer::onExpiry() {
    if (!enabled_) {
        return;
    }
    const int64_t slot = slotAt(clock_.wallMicroseconds() + kEarlyWakeTolerance, offset_);
    if (slot == lastSlot_) {
        // Woken too early, still inside the slot already fired: wait for the next one.
        armForNextSlot();
        return;
    }
    lastSlot_ = slot;
    // Re-armed before the tick runs: a tick that yields may see the next expiry, which the
    // scheduler then skips, and a tick that disables the timer stops it for good.
    armForNextSlot();
    onTick_();
}

} // namespace quorel
