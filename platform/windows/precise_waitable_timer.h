#pragma once

#include <cstdint>

namespace quorel {

// A waitable timer that counts finer than the system's 15.6 ms tick: a high-resolution timer
// where the system makes one, otherwise a plain timer while the system's timer resolution is
// raised to 1 ms for as long as it lives. A manual-reset timer stays signalled until it is set
// again; an automatic one is cleared by the wait that it ends.
class PreciseWaitableTimer {
  public:
    enum class Reset { Manual, Automatic };

    explicit PreciseWaitableTimer(Reset reset = Reset::Manual);
    ~PreciseWaitableTimer();
    PreciseWaitableTimer(const PreciseWaitableTimer&) = delete;
    PreciseWaitableTimer& operator=(const PreciseWaitableTimer&) = delete;

    // The timer's handle, to wait on; null if the system gave none.
    void* handle() const { return handle_; }
    bool highResolution() const { return highResolution_; }
    // Clears the signal and signals again after the given time (at once for none); false if the
    // timer could not be set.
    bool signalAfter(int64_t microseconds);
    void cancel();

  private:
    void* handle_ = nullptr;
    bool highResolution_ = false;
    bool raisedResolution_ = false;
};

} // namespace quorel
