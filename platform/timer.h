#pragma once

namespace quorel {

// The scheduler's timer: while enabled it raises the tick every 200 ms.
class Timer {
  public:
    virtual ~Timer() = default;
    virtual void setEnabled(bool enabled) = 0;
    virtual bool isEnabled() const = 0;
};

} // namespace quorel
