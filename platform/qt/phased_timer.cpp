#include "platform/qt/phased_timer.h"

#include <chrono>

namespace quorel {

namespace {

int64_t wallMicroseconds() {
    using namespace std::chrono;
    return duration_cast<microseconds>(system_clock::now().time_since_epoch()).count();
}

// Slot n begins at n * 200 ms + 5 ms past the epoch, hence past every wall-clock second.
int64_t slotAt(int64_t microseconds) {
    const int64_t shifted = microseconds - PhasedTimer::kOffsetMicroseconds;
    const int64_t slot = shifted / PhasedTimer::kPeriodMicroseconds;
    return shifted < 0 && shifted % PhasedTimer::kPeriodMicroseconds != 0 ? slot - 1 : slot;
}

int64_t slotStart(int64_t slot) {
    return slot * PhasedTimer::kPeriodMicroseconds + PhasedTimer::kOffsetMicroseconds;
}

// A precise timer may wake up to a millisecond early; such a wake-up belongs to the slot it
// was armed for.
constexpr int64_t kEarlyWakeTolerance = 1'500;

} // namespace

PhasedTimer::PhasedTimer(std::function<void()> onTick, QObject* parent)
    : QObject(parent), onTick_(std::move(onTick)) {
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &PhasedTimer::onExpiry);
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
    const int64_t now = wallMicroseconds();
    int64_t next = slotAt(now) + 1;
    if (next == lastSlot_) {
        ++next; // woken just before the slot it has already fired for
    }
    const int64_t waitMicroseconds = slotStart(next) - now;
    timer_.start(static_cast<int>((waitMicroseconds + 999) / 1000));
}

void PhasedTimer::onExpiry() {
    if (!enabled_) {
        return;
    }
    const int64_t slot = slotAt(wallMicroseconds() + kEarlyWakeTolerance);
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
