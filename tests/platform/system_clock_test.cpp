#include "platform/system_clock.h"

#include <cmath>
#include <ctime>
#include <gtest/gtest.h>

namespace quorel {
namespace {

TEST(SystemClock, ReadsTheLocalTimeAndDate) {
    SystemClock clock;
    // Retried when a second boundary falls between the two readings.
    for (int attempt = 0; attempt < 3; ++attempt) {
        const time_t now = time(nullptr);
        const std::string text = clock.clockText();
        if (time(nullptr) != now) {
            continue;
        }
        std::tm local{};
        localtime_r(&now, &local);
        char expected[16];
        std::strftime(expected, sizeof expected, "%H:%M:%S", &local);
        EXPECT_EQ(text, expected);
        EXPECT_EQ(clock.secondsFieldText(), text.substr(6, 2));
        const LocalDate date = clock.localDate();
        EXPECT_EQ(date.year, local.tm_year + 1900);
        EXPECT_EQ(date.month, local.tm_mon + 1);
        EXPECT_EQ(date.day, local.tm_mday);
        const double seconds = local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec;
        EXPECT_NEAR(clock.secondsSinceMidnight(), seconds + 0.5, 1.0);
        return;
    }
    FAIL() << "the clock never held still for a reading";
}

TEST(SystemClock, PausesOnTheMonotonicClock) {
    SystemClock clock;
    const double before = clock.monotonicSeconds();
    clock.pause(0.05);
    const double slept = clock.monotonicSeconds() - before;
    EXPECT_GE(slept, 0.05);
    EXPECT_LT(slept, 1.0);
    clock.pause(-1); // nothing to wait for
    EXPECT_LT(clock.monotonicSeconds() - before, 1.0);
}

} // namespace
} // namespace quorel
