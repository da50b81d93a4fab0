#include "platform/qt_phased_timer.h"
#include "tests/support/pseudo_terminal.h"
#include "tests/support/qt_event_loop.h"

#include <cmath>
#include <gtest/gtest.h>
#include <unistd.h>

namespace quorel {
namespace {

// Milliseconds past the last multiple of 200 ms of the wall clock.
double phaseMilliseconds(double wallSeconds) {
    return std::fmod(wallSeconds * 1000.0, 200.0);
}

long slotOf(double wallSeconds) {
    return std::lround(std::floor((wallSeconds * 1000.0 - 3.0) / 200.0));
}

TEST(PhasedTimerTest, TicksJustAfterEachFifthOfASecondOncePerSlotUntilDisabled) {
    test::ensureCoreApplication();
    std::vector<double> ticks;
    PhasedTimer* timerPointer = nullptr;
    PhasedTimer timer([&] {
        ticks.push_back(test::wallNow());
        if (ticks.size() == 3) {
            ::usleep(450'000); // a long tick: the slots it covers are skipped, not caught up
        }
        if (ticks.size() == 10) {
            timerPointer->setEnabled(false); // as the port choice does inside a yield
        }
    });
    timerPointer = &timer;

    EXPECT_FALSE(timer.isEnabled());
    test::runEventsFor(300);
    EXPECT_TRUE(ticks.empty());

    timer.setEnabled(true);
    EXPECT_TRUE(test::runEventsUntil([&] { return ticks.size() >= 10; }, 5000));
    EXPECT_FALSE(timer.isEnabled());
    test::runEventsFor(500);
    ASSERT_EQ(ticks.size(), 10u);

    int onPhase = 0;
    for (size_t i = 0; i < ticks.size(); ++i) {
        if (i > 0) {
            EXPECT_GT(slotOf(ticks[i]), slotOf(ticks[i - 1])) << "two ticks in one slot";
        }
        const double phase = phaseMilliseconds(ticks[i]);
        if (i != 3) { // the tick right after the long one comes late by design
            EXPECT_GE(phase, 3.0) << "tick " << i << " came before its slot";
            onPhase += phase <= 25.0 ? 1 : 0;
        }
    }
    // A loaded machine may delay the odd tick; most must fall within a few milliseconds.
    EXPECT_GE(onPhase, 7);
    EXPECT_GE(ticks[3] - ticks[2], 0.45);
    EXPECT_LT(ticks[3] - ticks[2], 0.55) << "the late tick fires once, at once";
}

} // namespace
} // namespace quorel
