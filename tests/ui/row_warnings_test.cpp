#include "ui/row_warnings.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <map>

namespace quorel {
namespace {

std::string timeText(int index) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", index / 3600, index / 60 % 60, index % 60);
    return text;
}

TEST(RowWarnings, FlagsRowsThatWillNeverRing) {
    // Rows that take no slot and rows that take one without ever matching, mixed among 602 valid
    // rows listed in reverse time order: list positions differ from the saved order.
    const std::vector<ScheduleEntry> extras{
        {"5", "00:00:01", "5"},          // output out of range: no slot
        {"x", "00:00:02", "5"},          // output not a number: no slot
        {"1", "00:00:02", ""},           // duration not a number: no slot
        {"1", "00:00:03", "3000000000"}, // duration too wide: no slot
        {"1", "00:00:0", "5"},           // never matches, yet takes the first slot
        {"2\"", "00:00:04", "5"},        // a typed quote: saved, it reads as output 2
        {"1", "99:00:00", "5"},          // never matches, and beyond capacity as well
    };
    EditorList list;
    for (int i = 602; i >= 1; --i) {
        if (i % 100 == 0) {
            list.add(extras[i / 100]);
        }
        list.add({i % 2 ? "1" : "2", timeText(i), "5"});
    }
    list.add(extras[0]);

    const std::vector<RowWarning> warnings = rowWarnings(list);
    ASSERT_EQ(warnings.size(), 609u);
    std::map<std::string, RowWarning> flagged;
    for (int position = 1; position <= list.count(); ++position) {
        if (warnings[position - 1] != RowWarning::None) {
            flagged[list.row(position).time] = warnings[position - 1];
        }
    }
    // Two rows take a slot before the valid ones: the valid rows 599 to 602 come after the 600th.
    const std::map<std::string, RowWarning> expected{
        {"00:00:0", RowWarning::TimeNeverMatches},   {"99:00:00", RowWarning::TimeNeverMatches},
        {timeText(599), RowWarning::BeyondCapacity}, {timeText(600), RowWarning::BeyondCapacity},
        {timeText(601), RowWarning::BeyondCapacity}, {timeText(602), RowWarning::BeyondCapacity},
    };
    EXPECT_EQ(flagged, expected);
}

} // namespace
} // namespace quorel
