#include "platform/windows/waitable_one_shot_timer.h"

#include <windows.h>

namespace quorel {

namespace {

constexpr UINT kExpired = WM_APP + 1;

int64_t nowMicroseconds() {
    LARGE_INTEGER counter{};
    LARGE_INTEGER frequency{};
    ::QueryPerformanceCounter(&counter);
    ::QueryPerformanceFrequency(&frequency);
    return counter.QuadPart / frequency.QuadPart * 1'000'000 +
           counter.QuadPart % frequency.QuadPart * 1'000'000 / frequency.QuadPart;
}

} // namespace

WaitableOneShotTimer::WaitableOneShotTimer()
    : timer_(PreciseWaitableTimer::Reset::Automatic),
      wake_(::CreateEventW(nullptr, FALSE, FALSE, nullptr)),
      window_([this](unsigned message, uintptr_t arming, intptr_t) {
          if (message == kExpired) {
              onPosted(arming);
          }
      }),
      worker_([this] { watch(); }) {}

WaitableOneShotTimer::~WaitableOneShotTimer() {
    {
        const std::lock_guard lock(mutex_);
        ending_ = true;
        ::SetEvent(wake_);
    }
    worker_.join();
    ::CloseHandle(wake_);
}

void WaitableOneShotTimer::start(int64_t microseconds) {
    const std::lock_guard lock(mutex_);
    ++arming_;
    // Setting the timer clears a signal not yet taken; one the worker has just taken is told
    // from this arming's by the due time.
    dueMicroseconds_ = nowMicroseconds() + microseconds;
    waiting_ = timer_.signalAfter(microseconds);
}

void WaitableOneShotTimer::stop() {
    const std::lock_guard lock(mutex_);
    ++arming_;
    waiting_ = false;
    timer_.cancel();
}

// The worker always waits on the timer, which clears itself when a wait takes its signal: an
// arming costs the worker one wake-up and the window one posted message.
void WaitableOneShotTimer::watch() {
    const HANDLE handles[] = {wake_, timer_.handle()};
    const DWORD count = timer_.handle() != nullptr ? 2 : 1;
    for (;;) {
        const DWORD woken = ::WaitForMultipleObjects(count, handles, FALSE, INFINITE);
        if (woken == WAIT_FAILED) {
            ::Sleep(1); // never spins, whatever the system says
        }
        uintptr_t expired = 0;
        {
            const std::lock_guard lock(mutex_);
            if (ending_) {
                return;
            }
            if (woken != WAIT_OBJECT_0 + 1 || !waiting_) {
                continue;
            }
            // A signal of an arming since replaced, or one a hair early: waits for the rest.
            const int64_t left = dueMicroseconds_ - nowMicroseconds();
            if (left > 0) {
                timer_.signalAfter(left);
                continue;
            }
            waiting_ = false;
            expired = arming_;
        }
        // Posted outside the lock, which the window thread then finds free.
        ::PostMessageW(window_.handle(), kExpired, expired, 0);
    }
}

void WaitableOneShotTimer::onPosted(uintptr_t arming) {
    bool current = false;
    {
        const std::lock_guard lock(mutex_);
        current = arming == arming_;
        if (current) {
            ++arming_; // expires once
        }
    }
    if (current) {
        expire();
    }
}

} // namespace quorel
