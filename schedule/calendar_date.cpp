#include "schedule/calendar_date.h"

#include <chrono>
#include <cstdio>

namespace quorel {

namespace {

std::chrono::year_month_day toChrono(const LocalDate& date) {
    return std::chrono::year_month_day{std::chrono::year(date.year),
                                       std::chrono::month(static_cast<unsigned>(date.month)),
                                       std::chrono::day(static_cast<unsigned>(date.day))};
}

// The value of the decimal digits of text, or -1 when one of them is not a digit.
int digitsValue(std::string_view text) {
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            return -1;
        }
        value = value * 10 + (c - '0');
    }
    return value;
}

} // namespace

bool isRealDate(const LocalDate& date) {
    return date.month >= 1 && date.month <= 12 && date.day >= 1 && date.day <= 31 &&
           toChrono(date).ok();
}

std::optional<LocalDate> parseIsoDate(std::string_view text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') {
        return std::nullopt;
    }
    const LocalDate date{digitsValue(text.substr(0, 4)), digitsValue(text.substr(5, 2)),
                         digitsValue(text.substr(8, 2))};
    if (date.year < 0 || !isRealDate(date)) {
        return std::nullopt;
    }
    return date;
}

std::string isoDateText(const LocalDate& date) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", date.year, date.month, date.day);
    return text;
}

std::string frenchDateText(const LocalDate& date) {
    char text[32];
    std::snprintf(text, sizeof text, "%02d/%02d/%04d", date.day, date.month, date.year);
    return text;
}

long dayNumber(const LocalDate& date) {
    return std::chrono::sys_days(toChrono(date)).time_since_epoch().count();
}

LocalDate addDays(const LocalDate& date, int days) {
    const std::chrono::year_month_day moved{std::chrono::sys_days(toChrono(date)) +
                                            std::chrono::days(days)};
    return LocalDate{static_cast<int>(moved.year()), static_cast<int>(unsigned(moved.month())),
                     static_cast<int>(unsigned(moved.day()))};
}

} // namespace quorel
