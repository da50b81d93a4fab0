#pragma once

#include "platform/clock.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>

namespace quorel::test {

// A settable clock. Wall time (date and seconds since midnight) and monotonic time advance
// together; at midnight the date moves on. pause() advances time instead of sleeping.
class FakeClock final : public Clock {
  public:
    // Sets the date and the time of day, e.g. set({2020, 6, 22}, 7 * 3600 + 45 * 60).
    void set(LocalDate date, double secondsSinceMidnight) {
        date_ = date, seconds_ = secondsSinceMidnight;
    }
    void setTime(int hours, int minutes, double seconds) {
        seconds_ = hours * 3600.0 + minutes * 60.0 + seconds;
    }
    void advance(double seconds) {
        monotonic_ += seconds;
        // To the microsecond: steps of 0.2 s must not add up to 86399.99999 for midnight.
        seconds_ = std::round((seconds_ + seconds) * 1e6) / 1e6;
        for (; seconds_ >= 86400.0; seconds_ -= 86400.0) {
            moveDate(1);
        }
        for (; seconds_ < 0; seconds_ += 86400.0) {
            moveDate(-1);
        }
    }
    // Summer time begins (+3600) or ends (-3600): the local time moves, UTC and the monotonic
    // clock do not.
    void changeUtcOffset(int seconds) {
        utcOffset_ += seconds;
        advance(seconds);
        monotonic_ -= seconds;
    }

    std::string clockText() override {
        ++clockTextReads_;
        return text("%02ld:%02ld:%02ld", whole() / 3600 % 24, whole() / 60 % 60, whole() % 60);
    }
    float secondsSinceMidnight() override { return static_cast<float>(seconds_); }
    std::string secondsFieldText() override { return text("%02ld", whole() % 60); }
    LocalDate localDate() override { return date_; }
    LocalTimeStamp localTimeStamp() override {
        const long ms = std::lround(seconds_ * 1000); // to the nearest, against rounding errors
        return {date_, text("%02ld:%02ld:%02ld.%03ld", ms / 3600000 % 24, ms / 60000 % 60,
                            ms / 1000 % 60, ms % 1000)};
    }
    double monotonicSeconds() override { return monotonic_; }
    // The fake local time less the UTC offset.
    int64_t wallMicroseconds() override {
        using namespace std::chrono;
        const sys_days day{year{date_.year} / date_.month / date_.day};
        return int64_t{day.time_since_epoch().count()} * 86'400'000'000 +
               std::llround((seconds_ - utcOffset_) * 1e6);
    }
    int utcOffsetSeconds() override { return utcOffset_; }
    void pause(double seconds) override { pausedSeconds_ += seconds, advance(seconds); }
    double sinceBootSeconds() override { return monotonic_ + slept_; }
    // The computer sleeps: the wall clock moves on, the monotonic one stands still.
    void sleep(double seconds) { advance(seconds), monotonic_ -= seconds, slept_ += seconds; }

    int clockTextReads() const { return clockTextReads_; }
    double pausedSeconds() const { return pausedSeconds_; }

  private:
    void moveDate(int days) {
        using namespace std::chrono;
        const year_month_day next{sys_days{year{date_.year} / date_.month / date_.day} +
                                  std::chrono::days{days}};
        date_ = {int(next.year()), int(unsigned(next.month())), int(unsigned(next.day()))};
    }
    long whole() const { return static_cast<long>(std::floor(seconds_)); }
    template <typename... Fields> static std::string text(const char* format, Fields... fields) {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, format, fields...);
        return buffer;
    }

    LocalDate date_{2020, 6, 22};
    double seconds_ = 0;
    double monotonic_ = 1000;
    int clockTextReads_ = 0;
    double pausedSeconds_ = 0;
    double slept_ = 0;
    int utcOffset_ = 0;
};

} // namespace quorel::test
