#include "platform/windows/message_loop_clock.h"

#include "platform/windows/loop_handles.h"
#include "platform/windows/precise_waitable_timer.h"

#include <cmath>
#include <windows.h>

namespace quorel {

void MessageLoopClock::handleEventsFor(double seconds) {
    if (pump_.stopped() || pump_.quitSeen()) {
        return;
    }
    // A timer of its own: a handler run meanwhile may pause as well.
    PreciseWaitableTimer timer;
    HANDLE handle = timer.handle();
    if (!timer.signalAfter(std::llround(std::ceil(seconds * 1e6)))) {
        return;
    }
    while (!pump_.stopped() && !pump_.quitSeen() && !waitForLoopInput(handle)) {
        pump_.yield();
    }
}

} // namespace quorel
