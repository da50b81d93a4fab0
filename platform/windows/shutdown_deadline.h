#pragma once

#include <thread>

namespace quorel {

// Bounds a shut-down that Windows asks for (a log-off): once armed, the program has 3 seconds
// to end on its own; then a watchdog thread writes a line to the error output and ends the
// process at once with exit status 1, which by then can only cut the saving short. Arm it when
// the session ends (WM_ENDSESSION); disarm it if the log-off is called off.
class ShutdownDeadline {
  public:
    static constexpr unsigned kMilliseconds = 3000;

    ShutdownDeadline();
    ~ShutdownDeadline();
    ShutdownDeadline(const ShutdownDeadline&) = delete;
    ShutdownDeadline& operator=(const ShutdownDeadline&) = delete;

    // Starts the count; arming again while armed changes nothing.
    void arm();
    void disarm();
    bool armed() const { return watchdog_.joinable(); }

  private:
    void* disarmed_ = nullptr;
    std::thread watchdog_;
};

} // namespace quorel
