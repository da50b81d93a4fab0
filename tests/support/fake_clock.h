#pragma once

#include "platform/clock.h"

#include <functional>
#include <string>

namespace quorel::test {

// A settable clock. Wall time (date and seconds since midnight) and monotonic time advance
// together; at midnight the date moves on. pause() advances time instead of sleeping.
class FakeClock final : public Clock {
  public:
    // Sets the date and the time of day, e.g. set({2020, 6, 22}, 7 * 3600 + 45 * 60).
    void set(LocalDate date, double secondsSinceMidnight);
    void setTime(int hours, int minutes, double seconds);
    void advance(double seconds);

    std::string clockText() override;
    float secondsSinceMidnight() override;
    std::string secondsFieldText() override;
    LocalDate localDate() override { return date_; }
    double monotonicSeconds() override { return monotonic_; }
    void pause(double seconds) override;

    double exactSecondsSinceMidnight() const { return seconds_; }
    int clockTextReads() const { return clockTextReads_; }
    double pausedSeconds() const { return pausedSeconds_; }

    // Runs on every clock-text read, after it is counted and before it is answered; tests use it
    // to move time in the middle of a scan.
    std::function<void(int readNumber)> onClockTextRead;

  private:
    LocalDate date_{2020, 6, 22};
    double seconds_ = 0;
    double monotonic_ = 1000;
    int clockTextReads_ = 0;
    double pausedSeconds_ = 0;
};

} // namespace quorel::test
