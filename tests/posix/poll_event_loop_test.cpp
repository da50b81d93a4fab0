#include "platform/phased_timer.h"
#include "platform/posix/poll_event_loop.h"
#include "platform/posix/poll_event_pump.h"
#include "platform/posix/poll_interval_timer.h"
#include "platform/posix/poll_loop_clock.h"
#include "platform/posix/poll_one_shot_timer.h"
#include "platform/posix/poll_unix_signals.h"
#include "platform/posix/system_clock.h"
#include "tests/support/clock_seconds.h"

#include <algorithm>
#include <cmath>
#include <csignal>
#include <gtest/gtest.h>
#include <string>
#include <sys/time.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace quorel {
namespace {

// Runs the loop for the given real time.
void runFor(PollEventLoop& loop, double seconds) {
    const double end = test::monotonicNow() + seconds;
    for (double left; (left = end - test::monotonicNow()) > 0;) {
        loop.runOnce(left);
    }
}

struct Pipe {
    Pipe() { EXPECT_EQ(::pipe(fds), 0); }
    ~Pipe() {
        ::close(fds[0]);
        ::close(fds[1]);
    }
    void write() const { EXPECT_EQ(::write(fds[1], "x", 1), 1); }
    int fds[2] = {-1, -1};
};

double processCpuSeconds() {
    return test::secondsOf(CLOCK_PROCESS_CPUTIME_ID);
}

// The phase rules themselves are checked on a fake timer; this is the loop keeping them in real
// time.
TEST(PollEventLoop, DrivesThePhasedTimerJustAfterEachFifthOfASecondOncePerSlot) {
    PollEventLoop loop;
    SystemClock clock;
    PollOneShotTimer slotTimer(loop);
    std::vector<double> ticks;
    PhasedTimer timer(slotTimer, clock, [&] {
        ticks.push_back(test::wallNow());
        if (ticks.size() == 6) {
            timer.setEnabled(false);
        }
    });
    timer.setEnabled(true);
    runFor(loop, 1.6);
    EXPECT_FALSE(timer.isEnabled());
    ASSERT_EQ(ticks.size(), 6u);

    // Milliseconds past the start of the tick's 200 ms slot, and the slot itself.
    const auto phase = [](double t) { return std::fmod(t * 1000.0, 200.0); };
    const auto slot = [](double t) { return std::lround(std::floor((t * 1000.0 - 3.0) / 200.0)); };
    int onPhase = 0;
    for (size_t i = 0; i < ticks.size(); ++i) {
        EXPECT_TRUE(i == 0 || slot(ticks[i]) > slot(ticks[i - 1])) << "two ticks in one slot";
        EXPECT_GE(phase(ticks[i]), 3.5) << "tick " << i << " came before its slot";
        onPhase += phase(ticks[i]) <= 25.0 ? 1 : 0;
    }
    // A loaded machine may delay the odd tick; most must fall within a few milliseconds.
    EXPECT_GE(onPhase, 4);
    EXPECT_EQ(loop.runOnce(0.25), 0) << "disabled, the timer no longer fires";
}

TEST(PollEventLoop, ATimerReArmedFromItsHandlerFiresAgainOnlyOnceTheHandlerHasReturned) {
    PollEventLoop loop;
    SystemClock system;
    PollLoopClock clock(system, loop);
    PollEventPump pump(loop);
    PollOneShotTimer timer(loop);
    int depth = 0;
    int deepest = 0;
    int fired = 0;
    double pauseCpu = 0;
    timer.setExpiryHandler([&] {
        deepest = std::max(deepest, ++depth);
        if (++fired < 4) {
            timer.start(0);
            pump.yield();
            // Its own expiry is due throughout: the pause must sleep, not spin on it.
            const double cpu = processCpuSeconds();
            clock.pause(0.1);
            pauseCpu = std::max(pauseCpu, processCpuSeconds() - cpu);
        }
        --depth;
    });
    timer.start(0);
    EXPECT_EQ(loop.runOnce(0), 1);
    EXPECT_EQ(fired, 1);
    EXPECT_LT(pauseCpu, 0.05);
    for (int round = 0; round < 10; ++round) {
        loop.runOnce(0);
    }
    EXPECT_EQ(fired, 4);
    EXPECT_EQ(deepest, 1);
    EXPECT_EQ(loop.runOnce(0), 0);

    // Stopped, an expiry already due is not handled; started again, it counts from then.
    fired = 10;
    timer.start(0);
    timer.stop();
    EXPECT_EQ(loop.runOnce(0), 0);
    const double start = test::monotonicNow();
    timer.start(40'000);
    runFor(loop, 0.02);
    timer.start(40'000);
    for (int round = 0; fired == 10 && round < 100; ++round) {
        loop.runOnce(0.1);
    }
    EXPECT_EQ(fired, 11);
    EXPECT_GE(test::monotonicNow() - start, 0.06);
}

TEST(PollEventLoop, HandlersMayRemoveOrReplaceTimersAndWatchesTheirOwnIncluded) {
    PollEventLoop loop;
    std::vector<std::string> ran;
    PollEventLoop::TimerId first = 0;
    PollEventLoop::TimerId second = 0;
    first = loop.addTimer([&] {
        loop.removeTimer(first);
        loop.removeTimer(second);
        ran.push_back("first"); // the handler's captures outlive the removal
    });
    second = loop.addTimer([&] { ran.push_back("second"); });
    loop.startTimer(first, 0);
    loop.startTimer(second, 0);
    EXPECT_EQ(loop.runOnce(0), 1);
    EXPECT_FALSE(loop.timerActive(second));
    loop.startTimer(first, 0); // removed timers are gone for good
    EXPECT_EQ(loop.runOnce(0), 0);

    // A handler may replace its own watch, and another's: a descriptor closed and opened anew
    // meanwhile was polled as the old one, so its new handler waits for a round of its own.
    Pipe pipe;
    Pipe reused;
    Pipe fresh;
    pipe.write();
    reused.write();
    ASSERT_LT(pipe.fds[0], reused.fds[0]); // handled first
    loop.watchReadable(reused.fds[0], [&] { ran.push_back("old"); });
    loop.watchReadable(pipe.fds[0], [&] {
        loop.watchReadable(pipe.fds[0], [&] { ran.push_back("replacement"); });
        ::dup2(fresh.fds[0], reused.fds[0]);
        loop.watchReadable(reused.fds[0], [&] { ran.push_back("new"); });
        ran.push_back("watch");
    });
    EXPECT_EQ(loop.runOnce(0), 1);
    EXPECT_EQ(loop.runOnce(0), 1); // the byte was left unread
    EXPECT_EQ(ran, (std::vector<std::string>{"first", "watch", "replacement"}));
}

TEST(PollEventLoop, APauseInsideAHandlerRunsOtherTimersAndDescriptorsUntilItsDeadline) {
    PollEventLoop loop;
    SystemClock system;
    PollLoopClock clock(system, loop);
    PollOneShotTimer outer(loop);
    PollOneShotTimer other(loop);
    Pipe pipe;
    std::vector<std::string> order;
    loop.watchReadable(pipe.fds[0], [&] {
        char byte = 0;
        EXPECT_EQ(::read(pipe.fds[0], &byte, 1), 1);
        order.push_back("readable");
    });
    double outerPause = 0;
    double innerPause = 0;
    outer.setExpiryHandler([&] {
        outer.start(0); // due throughout, never run inside itself
        other.start(20'000);
        pipe.write();
        const double start = test::monotonicNow();
        clock.pause(0.15);
        outerPause = test::monotonicNow() - start;
        order.push_back("outer");
    });
    other.setExpiryHandler([&] {
        const double start = test::monotonicNow();
        clock.pause(0.03); // a pause inside a pause
        innerPause = test::monotonicNow() - start;
        order.push_back("other");
    });
    outer.start(0);
    EXPECT_EQ(loop.runOnce(0), 1);
    EXPECT_EQ(order, (std::vector<std::string>{"readable", "other", "outer"}));
    EXPECT_GE(outerPause, 0.15);
    EXPECT_GE(innerPause, 0.03);
    EXPECT_EQ(loop.runOnce(0), 1); // the outer timer, re-armed inside
    EXPECT_EQ(order.back(), "outer");
}

TEST(PollEventLoop, ADescriptorsHandlerRunsWhenItBecomesReadableOrIsClosed) {
    PollEventLoop loop;
    Pipe pipe;
    std::string read;
    loop.watchReadable(pipe.fds[0], [&] {
        char byte = 0;
        if (::read(pipe.fds[0], &byte, 1) == 1) {
            read += byte;
        } else {
            read += "<end>";
            loop.unwatch(pipe.fds[0]);
        }
    });
    const double start = test::monotonicNow();
    EXPECT_EQ(loop.runOnce(0.05), 0);
    EXPECT_GE(test::monotonicNow() - start, 0.05); // waited, nothing to do
    std::thread writer([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        pipe.write();
        ::close(pipe.fds[1]);
        pipe.fds[1] = -1;
    });
    EXPECT_EQ(loop.runOnce(10), 1); // woken by the byte, long before the limit
    writer.join();
    EXPECT_EQ(read, "x");
    EXPECT_EQ(loop.runOnce(0), 1);
    EXPECT_EQ(read, "x<end>");
    EXPECT_EQ(loop.runOnce(0), 0);

    // A descriptor closed while watched is dropped rather than reported again and again.
    Pipe closed;
    bool called = false;
    loop.watchReadable(closed.fds[0], [&] { called = true; });
    ::close(closed.fds[0]);
    closed.fds[0] = -1;
    loop.runOnce(0);
    EXPECT_FALSE(called);
    EXPECT_EQ(loop.runOnce(0), 0);
}

TEST(PollEventLoop, QuitEndsRunAndNoHandlerRunsAfterItYetPausesLastTheirTime) {
    PollEventLoop loop;
    SystemClock system;
    PollLoopClock clock(system, loop);
    PollEventPump pump(loop);
    PollOneShotTimer quitter(loop);
    PollOneShotTimer late(loop);
    int lateRuns = 0;
    late.setExpiryHandler([&] { ++lateRuns; });
    quitter.setExpiryHandler([&] { loop.quit(); });
    quitter.start(30'000);
    late.start(10'000'000);
    loop.run();
    EXPECT_TRUE(loop.quitting());
    EXPECT_EQ(lateRuns, 0);

    late.start(0);
    pump.yield();
    const double start = test::monotonicNow();
    clock.pause(0.05);
    EXPECT_GE(test::monotonicNow() - start, 0.05);
    loop.run(); // returns at once
    EXPECT_EQ(lateRuns, 0);
}

TEST(PollIntervalTimer, RepeatsUntilDisabledAndEnablingItAgainDoesNotPutItOff) {
    PollEventLoop loop;
    int expiries = 0;
    PollIntervalTimer timer(loop, 30, [&] { ++expiries; });
    // Enabled again every 10 ms: restarting it each time would keep it from ever expiring.
    PollIntervalTimer enabler(loop, 10, [&] { timer.setEnabled(true); });
    timer.setEnabled(true);
    enabler.setEnabled(true);
    EXPECT_TRUE(timer.isEnabled());
    runFor(loop, 0.3);
    EXPECT_GE(expiries, 2);
    enabler.setEnabled(false);

    // Disabled from its own handler, it stops for good.
    int counted = 0;
    PollIntervalTimer counting(loop, 10, [&] {
        if (++counted == 3) {
            counting.setEnabled(false);
        }
    });
    counting.setEnabled(true);
    runFor(loop, 0.2);
    EXPECT_EQ(counted, 3);
    EXPECT_FALSE(counting.isEnabled());
}

// The deadline the first signal sets would end the test program 3 s later: it is cleared.
struct ClearsTheShutDownTimer {
    ~ClearsTheShutDownTimer() {
        const itimerval none{};
        ::setitimer(ITIMER_REAL, &none, nullptr);
    }
};

TEST(PollUnixSignals, EndingSignalsReachTheCallbackOnTheLoopAndSetTheShutDownDeadline) {
    const ClearsTheShutDownTimer clears;
    PollEventLoop loop;
    const auto action = [](int number) {
        struct sigaction current {};
        ::sigaction(number, nullptr, &current);
        return current.sa_handler;
    };
    int requests = 0;
    {
        PollUnixSignals signals(loop, [&] { ++requests; });
        EXPECT_NE(action(SIGTERM), SIG_DFL);
        EXPECT_EQ(action(SIGPIPE), SIG_IGN);
        {
            PollUnixSignals second(loop, [] { ADD_FAILURE() << "a second one has no pipe"; });
        }
        EXPECT_NE(action(SIGTERM), SIG_DFL) << "the first one still catches them";
        ASSERT_EQ(::raise(SIGTERM), 0);
        EXPECT_EQ(requests, 0); // not from the signal handler
        EXPECT_EQ(loop.runOnce(1), 1);
        EXPECT_EQ(requests, 1);
        itimerval deadline{};
        ::getitimer(ITIMER_REAL, &deadline);
        EXPECT_TRUE(deadline.it_value.tv_sec > 0 || deadline.it_value.tv_usec > 0);
        EXPECT_LE(deadline.it_value.tv_sec, 3);

        // Several signals before the loop looks: one call for them all, and none meanwhile.
        ASSERT_EQ(::raise(SIGINT), 0);
        ASSERT_EQ(::raise(SIGALRM), 0); // before the deadline, one more request
        ASSERT_EQ(::raise(SIGUSR2), 0);
        EXPECT_EQ(loop.runOnce(1), 1);
        EXPECT_EQ(requests, 2);
        EXPECT_EQ(loop.runOnce(0), 0);
    }
    EXPECT_EQ(action(SIGTERM), SIG_DFL);
    EXPECT_EQ(action(SIGALRM), SIG_DFL);
    EXPECT_EQ(loop.runOnce(0), 0);
}

} // namespace
} // namespace quorel
