#pragma once

#include "platform/event_pump.h"
#include "platform/windows/message_window.h"

#include <cstdint>

struct tagMSG;

namespace quorel {

// Runs the handlers of the signalled objects the loop watches (watchLoopHandle), then dispatches
// the thread's pending window messages once: those posted before the call, then the pending
// input, repaints and due timers; a message posted meanwhile waits for the next round, so a
// handler that posts again cannot keep it going. A WM_QUIT met is posted again, for the message
// loop to see. After stop() it does nothing, so that no further handler runs while the program
// shuts down. Lives on the thread of the window, which it pumps.
class Win32EventPump final : public EventPump {
  public:
    Win32EventPump();

    void yield() override;
    void stop() { stopped_ = true; }
    bool stopped() const { return stopped_; }
    // A WM_QUIT was met while pumping: the program is leaving its message loop.
    bool quitSeen() const { return quitSeen_; }

  private:
    bool keptQuit(const tagMSG& message);
    void dispatchDueTimers();

    // A marker posted at the start of each round ends its posted messages when dispatched.
    MessageWindow marker_;
    uint64_t roundsBegun_ = 0;
    uint64_t roundsEnded_ = 0;
    bool stopped_ = false;
    bool quitSeen_ = false;
};

} // namespace quorel
