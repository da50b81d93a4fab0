#include "platform/phased_timer.h"
#include "platform/posix/system_clock.h"
#include "platform/qt/event_loop_clock.h"
#include "platform/qt/qt_one_shot_timer.h"
#include "tests/support/clock_seconds.h"
#include "tests/support/qt_event_loop.h"

#include <cmath>
#include <gtest/gtest.h>
#include <vector>

namespace quorel {
namespace {

TEST(EventLoopClock, PauseHandlesEventsUntilItsDeadlineAndNoneOnceTheProgramEnds) {
    test::ensureApplication();
    SystemClock system;
    QtEventPump pump;
    EventLoopClock clock(system, pump);
    int handled = 0;
    QTimer event;
    event.setSingleShot(true);
    QObject::connect(&event, &QTimer::timeout, [&] { ++handled; });
    const auto pausedFor = [&](double seconds) {
        event.start(20);
        const double start = system.monotonicSeconds();
        clock.pause(seconds);
        return system.monotonicSeconds() - start;
    };
    EXPECT_GE(pausedFor(0.15), 0.15);
    EXPECT_EQ(handled, 1);                // a click or a repaint is answered during the pause
    EXPECT_GE(pausedFor(0.0015), 0.0015); // the timer's whole milliseconds are made up
    pump.stop();
    EXPECT_GE(pausedFor(0.15), 0.15);
    EXPECT_EQ(handled, 1);
    test::runEventsFor(10);
    EXPECT_EQ(handled, 2); // held back, not lost
}

// The phase rules themselves are checked on a fake timer; this is the Qt timer keeping them in
// real time.
TEST(QtOneShotTimer, DrivesThePhasedTimerJustAfterEachFifthOfASecondAndStopsWhenDisabled) {
    test::ensureApplication();
    SystemClock clock;
    QtOneShotTimer slotTimer;
    std::vector<double> ticks;
    PhasedTimer timer(slotTimer, clock, [&] {
        ticks.push_back(test::wallNow());
        if (ticks.size() == 6) {
            timer.setEnabled(false); // as the port choice does inside a yield
        }
    });
    timer.setEnabled(true);
    test::runEventsFor(1600);
    EXPECT_FALSE(timer.isEnabled());
    ASSERT_EQ(ticks.size(), 6u);

    // Milliseconds past the start of the tick's 200 ms slot, and the slot itself.
    const auto phase = [](double t) { return std::fmod(t * 1000.0, 200.0); };
    const auto slot = [](double t) { return std::lround(std::floor((t * 1000.0 - 3.0) / 200.0)); };
    int onPhase = 0;
    for (size_t i = 0; i < ticks.size(); ++i) {
        EXPECT_TRUE(i == 0 || slot(ticks[i]) > slot(ticks[i - 1])) << "two ticks in one slot";
        EXPECT_GE(phase(ticks[i]), 3.0) << "tick " << i << " came before its slot";
        onPhase += phase(ticks[i]) <= 25.0 ? 1 : 0;
    }
    // A loaded machine may delay the odd tick; most must fall within a few milliseconds.
    EXPECT_GE(onPhase, 4);
}

} // namespace
} // namespace quorel
