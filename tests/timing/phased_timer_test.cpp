#include "platform/phased_timer.h"
#include "tests/support/fake_clock.h"

#include <gtest/gtest.h>
#include <optional>
#include <vector>

namespace quorel {
namespace {

// A one-shot timer that expires when the test says, its clock moved to the moment.
struct FakeOneShotTimer final : OneShotTimer {
    explicit FakeOneShotTimer(test::FakeClock& clock) : clock(clock) {}
    void start(int64_t microseconds) override {
        armed = microseconds;
        due = clock.wallMicroseconds() + microseconds;
    }
    void stop() override { armed.reset(); }
    // The expiry arrives offset microseconds after it was due (before it, when negative), or at
    // once when the clock is past that already.
    void fire(int64_t offset = 0) {
        const int64_t wait = due + offset - clock.wallMicroseconds();
        if (wait > 0) {
            clock.advance(static_cast<double>(wait) / 1e6);
        }
        armed.reset();
        expire();
    }

    test::FakeClock& clock;
    std::optional<int64_t> armed;
    int64_t due = 0;
};

TEST(PhasedTimer, TicksJustAfterEachFifthOfASecondOncePerSlotAndSkipsWhatALongTickCovered) {
    test::FakeClock clock;
    clock.setTime(8, 0, 0.050);
    const int64_t second = clock.wallMicroseconds() - 50'000;
    FakeOneShotTimer slotTimer(clock);
    std::vector<int64_t> ticks; // microseconds past 08:00:00
    std::optional<int64_t> armedDuringTick;
    PhasedTimer timer(slotTimer, clock, [&] {
        ticks.push_back(clock.wallMicroseconds() - second);
        armedDuringTick = slotTimer.armed;
        if (ticks.size() == 4) {
            clock.advance(0.450); // a long tick: the slots it covers are skipped, not caught up
        }
        if (ticks.size() == 6) {
            timer.setEnabled(false); // as the port choice does inside a yield
        }
    });
    EXPECT_FALSE(timer.isEnabled());
    EXPECT_FALSE(slotTimer.armed);
    timer.setEnabled(true);
    clock.advance(0.020);
    timer.setEnabled(true); // enabling again does not arm it again
    EXPECT_EQ(slotTimer.armed, 155'000);

    slotTimer.fire();
    EXPECT_EQ(armedDuringTick, 200'000); // armed for the next slot before the tick ran
    // Woken a millisecond early: the tick is its slot's, and the next slot is waited for whole.
    slotTimer.fire(-1'000);
    EXPECT_EQ(slotTimer.armed, 201'000);
    // Woken 3 ms early: no tick, the rest of the wait armed.
    slotTimer.fire(-3'000);
    EXPECT_EQ(ticks.size(), 2u);
    EXPECT_EQ(slotTimer.armed, 3'000);
    slotTimer.fire();
    slotTimer.fire(); // the long tick, until 1.255 s
    slotTimer.fire(); // overdue: once, at once
    EXPECT_EQ(slotTimer.armed, 150'000);
    slotTimer.fire();
    EXPECT_EQ(ticks,
              (std::vector<int64_t>{205'000, 404'000, 605'000, 805'000, 1'255'000, 1'405'000}));
    EXPECT_FALSE(timer.isEnabled());
    EXPECT_FALSE(slotTimer.armed);
    slotTimer.fire(); // an expiry already queued when it was disabled
    EXPECT_EQ(ticks.size(), 6u);
}

// A timer that never fires early lets the ticks fall 1 ms after each slot's start.
TEST(PhasedTimer, AnOffsetOfItsOwnPlacesEveryTickThatLongAfterItsSlotsStart) {
    test::FakeClock clock;
    clock.setTime(8, 0, 0.9995);
    FakeOneShotTimer slotTimer(clock);
    int ticks = 0;
    PhasedTimer timer(
        slotTimer, clock, [&] { ++ticks; }, PhasedTimer::kNeverEarlyOffsetMicroseconds);
    timer.setEnabled(true);
    EXPECT_EQ(slotTimer.armed, 1'500);
    slotTimer.fire();
    EXPECT_EQ(ticks, 1);
    EXPECT_EQ(slotTimer.armed, 200'000);
}

} // namespace
} // namespace quorel
