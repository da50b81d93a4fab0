#pragma once

#include "platform/clock.h"

#include <string>

namespace quorel {

// The operating system's local clock, read through the Windows API.
class SystemClock final : public Clock {
  public:
    std::string clockText() override;
    float secondsSinceMidnight() override;
    std::string secondsFieldText() override;
    LocalDate localDate() override;
    LocalTimeStamp localTimeStamp() override;
    double monotonicSeconds() override;
    int64_t wallMicroseconds() override;
    int utcOffsetSeconds() override;
    void pause(double seconds) override;
};

} // namespace quorel
