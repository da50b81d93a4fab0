#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <thread>

namespace quorel {

// Windows has no watchdog for its services: this one ends a station whose tick has stopped, so
// that the service manager restarts it and its relays are set again at the reopen. A thread of
// its own looks every second; once started, a pet missing for the limit calls onHung (which ends
// the process) from that thread.
class TickGuard {
  public:
    TickGuard(int64_t limitMilliseconds, std::function<void()> onHung);
    ~TickGuard();
    TickGuard(const TickGuard&) = delete;
    TickGuard& operator=(const TickGuard&) = delete;

    // The count starts now; starting again changes nothing.
    void start();
    void pet();
    // The shut-down has begun: a slow one is bounded elsewhere, not by this guard.
    void stop();

    // Whether a pet last heard at petAt has been missing too long at now (milliseconds).
    static bool hung(uint64_t now, uint64_t petAt, int64_t limitMilliseconds) {
        return now > petAt && now - petAt > static_cast<uint64_t>(limitMilliseconds);
    }

  private:
    void watch();

    const int64_t limit_;
    std::function<void()> onHung_;
    std::atomic<uint64_t> petAt_{0};
    void* stopped_ = nullptr;
    std::thread watcher_;
};

} // namespace quorel
