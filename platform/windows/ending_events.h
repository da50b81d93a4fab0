#pragma once

#include "platform/windows/message_window.h"
#include "platform/windows/shutdown_deadline.h"

#include <functional>

struct HWND__;

namespace quorel {

// The events that ask a program without a window to end, delivered on the thread that makes this
// object, as the ending signals are on POSIX: Ctrl-C, Ctrl-Break, the console closed, the log-off
// and the shut-down. Windows tells the last two to the console handler, or, once the program uses
// windows, to its top-level windows (WM_ENDSESSION): a hidden one takes them, and takes WM_CLOSE
// (taskkill without /f) as one more request. onRequest runs on this object's thread, from its
// message loop or a pause of it, for each event; it must take a second request. The first event
// arms the 3-second ShutdownDeadline. The system runs the console handler on a thread of its own
// and ends the process as soon as it returns from a close, log-off or shut-down event: it returns
// once this object is destroyed, the shut-down over, or the deadline has ended the process. For
// the same reason WM_ENDSESSION runs onRequest before it returns. One per process: a second one
// made while the first lives receives nothing.
class EndingEvents {
  public:
    explicit EndingEvents(std::function<void()> onRequest);
    ~EndingEvents();
    EndingEvents(const EndingEvents&) = delete;
    EndingEvents& operator=(const EndingEvents&) = delete;

  private:
    std::function<void()> onRequest_;
    MessageWindow requests_;
    HWND__* sessionWindow_ = nullptr;
    ShutdownDeadline deadline_;
    bool owner_ = false;
};

} // namespace quorel
