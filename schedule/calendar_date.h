#pragma once

#include "platform/clock.h"

#include <optional>
#include <string>
#include <string_view>

namespace quorel {

// Whether date is a day of the Gregorian calendar.
bool isRealDate(const LocalDate& date);
// "2026-12-19", the form of the files: unambiguous and sortable. nullopt for any other text or a
// date that does not exist.
std::optional<LocalDate> parseIsoDate(std::string_view text);
std::string isoDateText(const LocalDate& date);
// "19/12/2026", the form the window shows.
std::string frenchDateText(const LocalDate& date);
LocalDate addDays(const LocalDate& date, int days);
// Days since 1970-01-01: the number of days between two dates is the difference.
long dayNumber(const LocalDate& date);

} // namespace quorel
