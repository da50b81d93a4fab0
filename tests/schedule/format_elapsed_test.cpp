#include "schedule/format_elapsed.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace quorel {
namespace {

TEST(FormatElapsedTest, ShowsWholeMinutesAndSecondsWithTwoDigitsEach) {
    const std::pair<double, const char*> cases[] = {
        {-3, "--:--"},       {0.7, "--:--"},
        {1, "00:01"},        {59.9, "00:59"},
        {61, "01:01"},       {99 * 60 + 59, "99:59"},
        {100 * 60, "00:00"}, {102 * 60 + 5, "02:05"},
        {NAN, "--:--"},      {std::numeric_limits<double>::infinity(), "--:--"}};
    for (const auto& [seconds, text] : cases) {
        EXPECT_EQ(FormatElapsed(seconds), text) << seconds;
    }
}

} // namespace
} // namespace quorel
