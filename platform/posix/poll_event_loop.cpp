#include "platform/posix/poll_event_loop.h"

#include "platform/posix/monotonic_nanoseconds.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <ctime>
#include <poll.h>
#include <sys/timerfd.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace quorel {

namespace {

// A longer wait is cut into waits of this length; nothing depends on it.
constexpr int64_t kLongestWait = int64_t{86'400} * kNanosecondsPerSecond;

// The longest wait allowed, in nanoseconds; -1 for none.
int64_t waitLimit(double seconds) {
    if (std::isnan(seconds) || seconds <= 0) {
        return 0;
    }
    if (seconds * 1e9 >= static_cast<double>(kLongestWait)) {
        return std::isinf(seconds) ? -1 : kLongestWait;
    }
    return static_cast<int64_t>(std::ceil(seconds * 1e9));
}

} // namespace

PollEventLoop::WakeUpTimer::WakeUpTimer()
    : fd(::timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC)) {}

PollEventLoop::WakeUpTimer::~WakeUpTimer() {
    if (fd >= 0) {
        ::close(fd);
    }
}

void PollEventLoop::watchReadable(int fd, std::function<void()> onReadable) {
    watches_[fd] = std::make_shared<Handler>(Handler{std::move(onReadable)});
}

void PollEventLoop::unwatch(int fd) {
    watches_.erase(fd);
}

PollEventLoop::TimerId PollEventLoop::addTimer(std::function<void()> onExpiry) {
    const TimerId id = ++lastTimer_;
    timers_[id].handler = std::make_shared<Handler>(Handler{std::move(onExpiry)});
    return id;
}

void PollEventLoop::startTimer(TimerId timer, int64_t microseconds) {
    const auto found = timers_.find(timer);
    if (found != timers_.end()) {
        // Clamped to centuries, so that the nanoseconds cannot overflow.
        const int64_t delay = std::clamp<int64_t>(microseconds, 0, INT64_MAX / 4000) * 1000;
        found->second.due = monotonicNanoseconds() + delay;
        found->second.armed = true;
    }
}

void PollEventLoop::stopTimer(TimerId timer) {
    const auto found = timers_.find(timer);
    if (found != timers_.end()) {
        found->second.armed = false;
    }
}

bool PollEventLoop::timerActive(TimerId timer) const {
    const auto found = timers_.find(timer);
    return found != timers_.end() && found->second.armed;
}

void PollEventLoop::removeTimer(TimerId timer) {
    timers_.erase(timer);
}

void PollEventLoop::run() {
    while (!quitting_) {
        runOnce(kNoLimit);
    }
}

int PollEventLoop::runOnce(double maxWaitSeconds) {
    // The wait ends at the earliest expiry of a timer whose handler is not running: one that is
    // waits for its handler to return, and must not cut the waits made inside it short.
    const int64_t start = monotonicNanoseconds();
    const int64_t limit = waitLimit(maxWaitSeconds);
    int64_t wake = limit < 0 ? -1 : start + limit;
    for (const auto& [id, timer] : timers_) {
        if (timer.armed && !timer.handler->running) {
            wake = wake < 0 ? timer.due : std::min(wake, timer.due);
        }
    }
    const int64_t wait = wake < 0 ? -1 : std::max<int64_t>(0, wake - start);
    // Likewise a descriptor whose handler is running is not watched inside it. Each polled
    // descriptor keeps the handler it was polled for: one replaced meanwhile is not called.
    std::vector<pollfd> polled;
    std::vector<std::shared_ptr<Handler>> handlers;
    for (const auto& [fd, handler] : watches_) {
        if (!handler->running) {
            polled.push_back(pollfd{fd, POLLIN, 0});
            handlers.push_back(handler);
        }
    }
    // ppoll() lets a wait run late by a thousandth of its length (more for a process with a
    // higher nice value): a wait is timed by the timer descriptor, set to the very nanosecond.
    timespec timeout{static_cast<time_t>(wait / kNanosecondsPerSecond),
                     static_cast<long>(wait % kNanosecondsPerSecond)};
    const timespec* pollTimeout = wait < 0 ? nullptr : &timeout;
    if (wait > 0 && setWakeUp(wake)) {
        polled.push_back(pollfd{wakeUp_.fd, POLLIN, 0});
        handlers.emplace_back();
        pollTimeout = nullptr;
    } else {
        setWakeUp(-1);
    }
    const int ready = ::ppoll(polled.data(), polled.size(), pollTimeout, nullptr);
    if (ready < 0) {
        // Interrupted by a signal, whose handler has written to its pipe: the next round reads it.
        for (pollfd& entry : polled) {
            entry.revents = 0;
        }
    }

    int handled = runDueTimers(monotonicNanoseconds());
    for (size_t i = 0; i < polled.size(); ++i) {
        if (polled[i].revents == 0 || handlers[i] == nullptr) {
            continue;
        }
        const auto watch = watches_.find(polled[i].fd);
        if (watch == watches_.end() || watch->second != handlers[i]) {
            continue; // unwatched, or watched anew, by a handler that ran before
        }
        if ((polled[i].revents & POLLNVAL) != 0) {
            watches_.erase(watch); // closed without being unwatched: it would be ready forever
            continue;
        }
        handled += runHandler(handlers[i]) ? 1 : 0;
    }
    return handled;
}

// Setting the timer clears an expiry not read yet; a timer not needed is disarmed, so that it
// never wakes the thread for nothing.
bool PollEventLoop::setWakeUp(int64_t when) {
    if (wakeUp_.fd < 0 || (when < 0 && !wakeUp_.armed)) {
        return false;
    }
    itimerspec value{};
    if (when >= 0) {
        value.it_value = {static_cast<time_t>(when / kNanosecondsPerSecond),
                          static_cast<long>(when % kNanosecondsPerSecond)};
    }
    wakeUp_.armed =
        ::timerfd_settime(wakeUp_.fd, TFD_TIMER_ABSTIME, &value, nullptr) == 0 && when >= 0;
    return wakeUp_.armed;
}

// The timers due at `now` run in the order of their expiries. Each is looked up again before it
// runs: an earlier handler may have stopped, re-armed or removed it. One re-armed meanwhile is due
// after `now` and waits for the next round, so a round always ends.
int PollEventLoop::runDueTimers(int64_t now) {
    std::vector<std::pair<int64_t, TimerId>> due;
    for (const auto& [id, timer] : timers_) {
        if (timer.armed && !timer.handler->running && timer.due <= now) {
            due.emplace_back(timer.due, id);
        }
    }
    std::sort(due.begin(), due.end());
    int handled = 0;
    for (const auto& [when, id] : due) {
        const auto found = timers_.find(id);
        if (found == timers_.end() || !found->second.armed || found->second.due > now) {
            continue;
        }
        found->second.armed = false;
        // A copy: the handler may remove its timer, and the map node with it.
        const std::shared_ptr<Handler> handler = found->second.handler;
        handled += runHandler(handler) ? 1 : 0;
    }
    return handled;
}

bool PollEventLoop::runHandler(const std::shared_ptr<Handler>& handler) {
    if (handler->running || !handler->call) {
        return false;
    }
    handler->running = true;
    struct Done {
        Handler& handler;
        ~Done() { handler.running = false; }
    } done{*handler};
    handler->call();
    return true;
}

} // namespace quorel
