#include "schedule/calendar_date.h"
#include "schedule/closed_periods.h"
#include "schedule/public_holidays.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

namespace quorel {
namespace {

TEST(ClosedPeriods, FileKeepsGoodPeriodsPeriodsCoverTheirDaysAndHolidaysFollowEaster) {
    const std::vector<ClosedPeriod> periods{{{2026, 12, 19}, {2027, 1, 3}, "Noël"},
                                            {{2027, 5, 14}, {2027, 5, 14}, "Pont"}};
    const std::string bytes = closedPeriodsBytes(periods);
    EXPECT_EQ(bytes, "\"2026-12-19\",\"2027-01-03\",\"No\xEBl\"\r\n"
                     "\"2027-05-14\",\"2027-05-14\",\"Pont\"\r\n");
    EXPECT_EQ(readClosedPeriods(bytes), periods);
    const std::string bad = "\"2027-02-29\",\"2027-03-01\",\"no such day\"\r\n"
                            "\"2027-03-02\",\"2027-03-01\",\"ends before it starts\"\r\n"
                            "\"2027-03-01\",\"2027-03-02\"\r\n"
                            "\"1/3/2027\",\"2027-03-02\",\"not ISO\"\r\n"
                            "\"2027-3-01\",\"2027-03-02\",\"one digit\"\r\n"
                            "\"2027-00-10\",\"2027-13-10\",\"no such months\"\r\n";
    EXPECT_EQ(readClosedPeriods(bad + bytes), periods);
    EXPECT_EQ(frenchDateText({2027, 1, 3}), "03/01/2027");

    test::TempFolder folder;
    folder.write("Quorel.conges", bytes);
    EXPECT_EQ(loadClosedPeriods(folder.file("Quorel.conges")), periods);
    EXPECT_TRUE(loadClosedPeriods(folder.file("missing")).empty());
    EXPECT_TRUE(loadClosedPeriods(folder.path()).empty()); // a folder cannot be read as a file

    // A period covers its days, both ends included.
    const std::pair<LocalDate, const char*> days[] = {
        {{2026, 12, 18}, ""},    {{2026, 12, 19}, "Noël"}, {{2026, 12, 31}, "Noël"},
        {{2027, 1, 3}, "Noël"},  {{2027, 1, 4}, ""},       {{2027, 5, 13}, ""},
        {{2027, 5, 14}, "Pont"}, {{2027, 5, 15}, ""},      {{2026, 11, 19}, ""}};
    for (const auto& [day, label] : days) {
        const ClosedPeriod* period = periodCovering(periods, day);
        EXPECT_EQ(period != nullptr ? period->label : "", label) << isoDateText(day);
    }
    EXPECT_EQ(isoDateText(addDays({2024, 2, 28}, 1)), "2024-02-29");
    EXPECT_EQ(isoDateText(addDays({2026, 12, 31}, 1)), "2027-01-01");

    // French public holidays follow Easter; Easter Sundays checked against the calendar.
    for (const char* easter : {"2024-03-31", "2025-04-20", "2038-04-25", "2000-04-23"}) {
        EXPECT_EQ(isoDateText(easterSunday(std::stoi(easter))), easter);
    }
    std::string holidays;
    for (const ClosedPeriod& holiday : frenchPublicHolidays(2027)) {
        EXPECT_EQ(holiday.from, holiday.to);
        holidays += isoDateText(holiday.from).substr(5) + " " + holiday.label + "|";
    }
    EXPECT_EQ(holidays, "01-01 Jour de l'an|03-29 Lundi de Pâques|05-01 Fête du Travail|"
                        "05-06 Ascension|05-08 Victoire 1945|05-17 Lundi de Pentecôte|"
                        "07-14 Fête nationale|08-15 Assomption|11-01 Toussaint|"
                        "11-11 Armistice 1918|12-25 Noël|");
}

} // namespace
} // namespace quorel
