#include "platform/windows/win32_interval_timer.h"

#include <windows.h>

namespace quorel {

Win32IntervalTimer::Win32IntervalTimer(unsigned intervalMilliseconds,
                                       std::function<void()> onExpiry)
    : interval_(intervalMilliseconds), onExpiry_(std::move(onExpiry)),
      window_([this](unsigned message, uintptr_t timer, intptr_t) {
          if (message == WM_TIMER && enabled_ && timer == timerNumber_) {
              onExpiry_();
          }
      }) {}

void Win32IntervalTimer::setEnabled(bool enabled) {
    // Restarting an active timer would put its next expiry off again and again.
    if (enabled && !enabled_) {
        enabled_ = ::SetTimer(window_.handle(), ++timerNumber_, interval_, nullptr) != 0;
    } else if (!enabled && enabled_) {
        ::KillTimer(window_.handle(), timerNumber_);
        enabled_ = false;
    }
}

} // namespace quorel
