#pragma once

#include <cstdint>
#include <functional>
#include <utility>

namespace quorel {

// A single-shot timer of the front end's event loop, as precise as the system allows: once
// started it calls the expiry handler once, from the event loop, after the given time (rounded
// up to what the timer can count).
class OneShotTimer {
  public:
    virtual ~OneShotTimer() = default;
    // Arms the timer, or arms it again for a new delay when it is running.
    virtual void start(int64_t microseconds) = 0;
    // Disarms the timer; an expiry already due is not handled.
    virtual void stop() = 0;

    void setExpiryHandler(std::function<void()> handler) { handler_ = std::move(handler); }

  protected:
    void expire() {
        if (handler_) {
            handler_();
        }
    }

  private:
    std::function<void()> handler_;
};

} // namespace quorel
