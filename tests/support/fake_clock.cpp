#include "tests/support/fake_clock.h"

#include <chrono>
#include <cmath>
#include <cstdio>

namespace quorel::test {

namespace {

LocalDate nextDay(LocalDate date) {
    using namespace std::chrono;
    const sys_days day =
        sys_days(year_month_day{year(date.year), month(static_cast<unsigned>(date.month)),
                                std::chrono::day(static_cast<unsigned>(date.day))}) +
        days(1);
    const year_month_day next(day);
    return LocalDate{static_cast<int>(next.year()), static_cast<int>(unsigned(next.month())),
                     static_cast<int>(unsigned(next.day()))};
}

} // namespace

void FakeClock::set(LocalDate date, double secondsSinceMidnight) {
    date_ = date;
    seconds_ = secondsSinceMidnight;
}

void FakeClock::setTime(int hours, int minutes, double seconds) {
    seconds_ = hours * 3600.0 + minutes * 60.0 + seconds;
}

void FakeClock::advance(double seconds) {
    monotonic_ += seconds;
    seconds_ += seconds;
    while (seconds_ >= 86400.0) {
        seconds_ -= 86400.0;
        date_ = nextDay(date_);
    }
}

std::string FakeClock::clockText() {
    ++clockTextReads_;
    if (onClockTextRead) {
        onClockTextRead(clockTextReads_);
    }
    const long whole = static_cast<long>(std::floor(seconds_));
    char text[64];
    std::snprintf(text, sizeof text, "%02ld:%02ld:%02ld", whole / 3600 % 24, whole / 60 % 60,
                  whole % 60);
    return text;
}

float FakeClock::secondsSinceMidnight() {
    return static_cast<float>(seconds_);
}

std::string FakeClock::secondsFieldText() {
    const long whole = static_cast<long>(std::floor(seconds_));
    char text[32];
    std::snprintf(text, sizeof text, "%02ld", whole % 60);
    return text;
}

void FakeClock::pause(double seconds) {
    pausedSeconds_ += seconds;
    advance(seconds);
}

} // namespace quorel::test
