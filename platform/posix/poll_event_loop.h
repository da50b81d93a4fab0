#pragma once

#include <cstdint>
#include <functional>
#include <limits>
#include <map>
#include <memory>

namespace quorel {

// The event loop of a program without a toolkit: one thread waits in ppoll() on the watched
// file descriptors until the earliest timer is due, then runs the handlers of what is ready.
// Timers count on CLOCK_MONOTONIC in nanoseconds and the wait ends on a timer descriptor set to
// the deadline, so an expiry comes a fraction of a millisecond after it, never before it. Nothing
// wakes the thread while nothing is due.
//
// Handlers may run the loop again (runOnce, a pause of the loop's clock): the timers and
// descriptors that are ready run inside, except the handler already running, which is never
// entered twice. A timer that falls due again while its handler runs (re-armed from it) fires
// once that handler has returned; a descriptor's handler is not called for it meanwhile.
// Handlers may add, re-arm and remove timers and descriptors, their own included. Use the loop
// from one thread only.
class PollEventLoop {
  public:
    using TimerId = uint64_t;
    static constexpr double kNoLimit = std::numeric_limits<double>::infinity();

    PollEventLoop() = default;
    PollEventLoop(const PollEventLoop&) = delete;
    PollEventLoop& operator=(const PollEventLoop&) = delete;

    // Calls onReadable from the loop while fd has data to read (or its end or an error to
    // report); the handler reads it, or removes the watch. A second watch of fd replaces the
    // first. A descriptor closed while watched is dropped.
    void watchReadable(int fd, std::function<void()> onReadable);
    void unwatch(int fd);

    // A one-shot timer, disarmed: started, it calls onExpiry once from the loop after the given
    // time; started again, it counts from then; stopped, an expiry already due is not handled.
    TimerId addTimer(std::function<void()> onExpiry);
    void startTimer(TimerId timer, int64_t microseconds);
    void stopTimer(TimerId timer);
    bool timerActive(TimerId timer) const;
    void removeTimer(TimerId timer);

    // Waits until a timer is due or a descriptor ready, at most maxWaitSeconds (0: not at all),
    // then runs the handlers of all that is ready; returns how many ran.
    int runOnce(double maxWaitSeconds = kNoLimit);
    // Runs the loop until quit() is called (at once if it was already).
    void run();
    // Ends run(); the loop's clock and pump stop handling events from then on.
    void quit() { quitting_ = true; }
    bool quitting() const { return quitting_; }

  private:
    // Shared with the dispatch that runs it, so that a handler may remove itself.
    struct Handler {
        std::function<void()> call;
        bool running = false;
    };
    struct Timer {
        std::shared_ptr<Handler> handler;
        int64_t due = 0; // CLOCK_MONOTONIC nanoseconds
        bool armed = false;
    };

    // The timer descriptor that ends a wait; without one (the system refused it), ppoll's own
    // timeout does, a little less precisely.
    struct WakeUpTimer {
        WakeUpTimer();
        ~WakeUpTimer();
        int fd;
        bool armed = false;
    };

    bool setWakeUp(int64_t when);
    int runDueTimers(int64_t now);
    static bool runHandler(const std::shared_ptr<Handler>& handler);

    std::map<int, std::shared_ptr<Handler>> watches_;
    std::map<TimerId, Timer> timers_;
    WakeUpTimer wakeUp_;
    TimerId lastTimer_ = 0;
    bool quitting_ = false;
};

} // namespace quorel
