#include "platform/windows/precise_waitable_timer.h"

#include <algorithm>
#include <windows.h>

#include <timeapi.h>

#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

namespace quorel {

PreciseWaitableTimer::PreciseWaitableTimer(Reset reset) {
    const DWORD manual = reset == Reset::Manual ? CREATE_WAITABLE_TIMER_MANUAL_RESET : 0;
    handle_ = ::CreateWaitableTimerExW(
        nullptr, nullptr, manual | CREATE_WAITABLE_TIMER_HIGH_RESOLUTION, TIMER_ALL_ACCESS);
    highResolution_ = handle_ != nullptr;
    if (handle_ == nullptr) {
        // Systems before Windows 10 1803 refuse the flag.
        handle_ = ::CreateWaitableTimerExW(nullptr, nullptr, manual, TIMER_ALL_ACCESS);
        raisedResolution_ = handle_ != nullptr && ::timeBeginPeriod(1) == TIMERR_NOERROR;
    }
}

PreciseWaitableTimer::~PreciseWaitableTimer() {
    if (handle_ != nullptr) {
        ::CancelWaitableTimer(handle_);
        ::CloseHandle(handle_);
    }
    if (raisedResolution_) {
        ::timeEndPeriod(1);
    }
}

bool PreciseWaitableTimer::signalAfter(int64_t microseconds) {
    if (handle_ == nullptr) {
        return false;
    }
    // Relative due times are negative, in 100 ns units.
    LARGE_INTEGER due{};
    due.QuadPart = -std::max<int64_t>(1, std::min<int64_t>(microseconds, INT64_MAX / 10) * 10);
    return ::SetWaitableTimer(handle_, &due, 0, nullptr, nullptr, FALSE) != 0;
}

void PreciseWaitableTimer::cancel() {
    if (handle_ != nullptr) {
        ::CancelWaitableTimer(handle_);
    }
}

} // namespace quorel
