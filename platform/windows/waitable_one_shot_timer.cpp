#include "platform/windows/waitable_one_shot_timer.h"

#include <windows.h>

namespace quorel {

namespace {

constexpr UINT kExpired = WM_APP + 1;

} // namespace

WaitableOneShotTimer::WaitableOneShotTimer()
    : wake_(::CreateEventW(nullptr, FALSE, FALSE, nullptr)),
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
    // Setting the timer clears its signal, so the worker never takes it for this arming's.
    waiting_ = timer_.signalAfter(microseconds);
    ::SetEvent(wake_);
}

void WaitableOneShotTimer::stop() {
    const std::lock_guard lock(mutex_);
    ++arming_;
    waiting_ = false;
    timer_.cancel();
    ::SetEvent(wake_);
}

void WaitableOneShotTimer::watch() {
    for (;;) {
        const HANDLE handles[] = {wake_, timer_.handle()};
        DWORD count = 1;
        {
            const std::lock_guard lock(mutex_);
            if (ending_) {
                return;
            }
            count = waiting_ ? 2 : 1;
        }
        ::WaitForMultipleObjects(count, handles, FALSE, INFINITE);
        const std::lock_guard lock(mutex_);
        if (ending_) {
            return;
        }
        // Checked under the lock: a start since the wake-up has cleared the signal.
        if (waiting_ && ::WaitForSingleObject(timer_.handle(), 0) == WAIT_OBJECT_0) {
            waiting_ = false;
            ::PostMessageW(window_.handle(), kExpired, arming_, 0);
        }
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
