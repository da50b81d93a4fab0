#pragma once

#include "schedule/closed_periods.h"

#include <vector>

namespace quorel {

// Easter Sunday of a Gregorian year (the computus).
LocalDate easterSunday(int year);
// The French public holidays of year, in date order, each a one-day period named after it.
std::vector<ClosedPeriod> frenchPublicHolidays(int year);

} // namespace quorel
