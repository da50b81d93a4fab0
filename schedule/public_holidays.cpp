#include "schedule/public_holidays.h"

#include "schedule/calendar_date.h"

#include <algorithm>

namespace quorel {

LocalDate easterSunday(int year) {
    // The anonymous Gregorian algorithm (Meeus, Jones, Butcher).
    const int a = year % 19;
    const int b = year / 100;
    const int c = year % 100;
    const int d = b / 4;
    const int e = b % 4;
    const int f = (b + 8) / 25;
    const int g = (b - f + 1) / 3;
    const int h = (19 * a + b - d - g + 15) % 30;
    const int i = c / 4;
    const int k = c % 4;
    const int l = (32 + 2 * e + 2 * i - h - k) % 7;
    const int m = (a + 11 * h + 22 * l) / 451;
    const int month = (h + l - 7 * m + 114) / 31;
    const int day = (h + l - 7 * m + 114) % 31 + 1;
    return LocalDate{year, month, day};
}

std::vector<ClosedPeriod> frenchPublicHolidays(int year) {
    const LocalDate easter = easterSunday(year);
    const auto day = [](const LocalDate& date, const char* label) {
        return ClosedPeriod{date, date, label};
    };
    std::vector<ClosedPeriod> holidays{
        day({year, 1, 1}, "Jour de l'an"),     day(addDays(easter, 1), "Lundi de Pâques"),
        day({year, 5, 1}, "Fête du Travail"),  day({year, 5, 8}, "Victoire 1945"),
        day(addDays(easter, 39), "Ascension"), day(addDays(easter, 50), "Lundi de Pentecôte"),
        day({year, 7, 14}, "Fête nationale"),  day({year, 8, 15}, "Assomption"),
        day({year, 11, 1}, "Toussaint"),       day({year, 11, 11}, "Armistice 1918"),
        day({year, 12, 25}, "Noël"),
    };
    // Ascension may fall on 1 or 8 May.
    std::stable_sort(holidays.begin(), holidays.end(),
                     [](const ClosedPeriod& a, const ClosedPeriod& b) { return a.from < b.from; });
    return holidays;
}

} // namespace quorel
