#pragma once

#include "platform/clock.h"

#include <cstdint>

namespace quorel {

// Today's weekday, 1 = Monday to 7 = Sunday.
int16_t CurrentWeekday(Clock& clock);
int16_t CurrentWeekday(const LocalDate& date);

// The calendar formula the day files have always been numbered by; it is the true weekday only
// from 1 March 1900 to 28 February 2100.
int16_t weekdayByFormula(const LocalDate& date);
// The true ISO weekday of any date of the Gregorian calendar.
int16_t isoWeekday(const LocalDate& date);

} // namespace quorel
