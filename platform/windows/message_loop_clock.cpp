#include "platform/windows/message_loop_clock.h"

#include "platform/windows/precise_waitable_timer.h"

#include <cmath>
#include <windows.h>

namespace quorel {

void MessageLoopClock::pause(double seconds) {
    const double deadline = clock_.monotonicSeconds() + seconds;
    if (seconds > 0 && !pump_.stopped() && !pump_.quitSeen()) {
        // A timer of its own: a handler run meanwhile may pause as well.
        PreciseWaitableTimer timer;
        HANDLE handle = timer.handle();
        if (timer.signalAfter(std::llround(std::ceil(seconds * 1e6)))) {
            while (!pump_.stopped() && !pump_.quitSeen() &&
                   ::MsgWaitForMultipleObjectsEx(1, &handle, INFINITE, QS_ALLINPUT,
                                                 MWMO_INPUTAVAILABLE) == WAIT_OBJECT_0 + 1) {
                pump_.yield();
            }
        }
    }
    // Ended early (the program quits) or measured on another clock: the rest of the wait
    // sleeps, so the gap between two relay bytes is never shorter.
    const double left = deadline - clock_.monotonicSeconds();
    if (left > 0) {
        clock_.pause(left);
    }
}

} // namespace quorel
