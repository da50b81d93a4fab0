#pragma once

#include "platform/clock.h"

#include <ctime>
#include <string>

namespace quorel {

// The operating system's local clock.
class SystemClock final : public Clock {
  public:
    std::string clockText() override;
    float secondsSinceMidnight() override;
    std::string secondsFieldText() override;
    LocalDate localDate() override;
    LocalTimeStamp localTimeStamp() override;
    double monotonicSeconds() override;
    double sinceBootSeconds() override;
    int64_t wallMicroseconds() override;
    int utcOffsetSeconds() override;
    void pause(double seconds) override;

  private:
    // The scheduler reads the clock text once per timetable slot, up to 600 times a tick, so the
    // broken-down local time is kept for the whole second it belongs to.
    const std::tm& localTimeNow(long* nanoseconds = nullptr);
    void formatClockText();

    time_t cachedSecond_ = -1;
    std::tm cachedLocal_{};
    std::string cachedText_ = "00:00:00";
};

} // namespace quorel
