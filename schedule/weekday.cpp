#include "schedule/weekday.h"

#include <chrono>
#include <cmath>

namespace quorel {

namespace {

bool formulaHolds(const LocalDate& date) {
    const auto key = date.year * 10000 + date.month * 100 + date.day;
    return key >= 19000301 && key <= 21000228;
}

} // namespace

int16_t weekdayByFormula(const LocalDate& date) {
    const bool earlyMonth = date.month == 1 || date.month == 2;
    const int m = earlyMonth ? date.month + 13 : date.month + 1;
    const int y = earlyMonth ? date.year - 1901 : date.year - 1900;
    const long long n = static_cast<long long>(std::floor(m * 30.6)) +
                        static_cast<long long>(std::floor(y * 365.25));
    const long long r = ((n % 7) + 7) % 7;
    return static_cast<int16_t>(((((date.day - 1 + r) % 7) + 7) % 7) + 1);
}

int16_t isoWeekday(const LocalDate& date) {
    const std::chrono::year_month_day ymd{std::chrono::year(date.year),
                                          std::chrono::month(static_cast<unsigned>(date.month)),
                                          std::chrono::day(static_cast<unsigned>(date.day))};
    return static_cast<int16_t>(std::chrono::weekday(std::chrono::sys_days(ymd)).iso_encoding());
}

int16_t CurrentWeekday(const LocalDate& date) {
    // Outside its range the formula gives a wrong day, which would load the wrong timetable.
    return formulaHolds(date) ? weekdayByFormula(date) : isoWeekday(date);
}

int16_t CurrentWeekday(Clock& clock) {
    return CurrentWeekday(clock.localDate());
}

} // namespace quorel
