#include "schedule/weekday.h"

#include <chrono>
#include <gtest/gtest.h>

namespace quorel {
namespace {

TEST(CurrentWeekday, GivesTheKnownDays) {
    EXPECT_EQ(CurrentWeekday(LocalDate{2020, 6, 22}), 1);
    EXPECT_EQ(CurrentWeekday(LocalDate{2021, 1, 1}), 5);
    EXPECT_EQ(CurrentWeekday(LocalDate{2024, 2, 29}), 4);
    EXPECT_EQ(CurrentWeekday(LocalDate{2020, 6, 28}), 7);
}

TEST(CurrentWeekday, FollowsTheFormulaInItsRangeAndTheCalendarOutside) {
    using namespace std::chrono;
    const auto toDate = [](sys_days day) {
        const year_month_day ymd(day);
        return LocalDate{static_cast<int>(ymd.year()), static_cast<int>(unsigned(ymd.month())),
                         static_cast<int>(unsigned(ymd.day()))};
    };
    const sys_days first = sys_days(year(1900) / March / 1);
    const sys_days last = sys_days(year(2100) / February / 28);
    for (sys_days day = first; day <= last; day += days(1)) {
        const LocalDate date = toDate(day);
        ASSERT_EQ(CurrentWeekday(date), weekdayByFormula(date)) << date.year << "-" << date.month;
        ASSERT_EQ(CurrentWeekday(date), isoWeekday(date)) << date.year << "-" << date.month;
    }
    // Outside the range the formula drifts; the weekday stays true.
    EXPECT_NE(weekdayByFormula(LocalDate{1900, 2, 28}), isoWeekday(LocalDate{1900, 2, 28}));
    EXPECT_EQ(CurrentWeekday(LocalDate{1900, 2, 28}), 3);  // a Wednesday
    EXPECT_EQ(CurrentWeekday(LocalDate{2100, 3, 1}), 1);   // a Monday
    EXPECT_EQ(CurrentWeekday(LocalDate{2400, 2, 29}), 2);  // a Tuesday
    EXPECT_EQ(CurrentWeekday(LocalDate{1899, 12, 31}), 7); // a Sunday
}

} // namespace
} // namespace quorel
