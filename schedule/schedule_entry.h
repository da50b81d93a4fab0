#pragma once

#include <string>

namespace quorel {

// One timetable entry as three texts: output number, time of day, duration in seconds. A row of
// the editor's list and a record of a day file.
struct ScheduleEntry {
    std::string output;
    std::string time;
    std::string duration;

    // Column 0 is the output, 1 the time, 2 (and any other) the duration.
    const std::string& column(int index) const {
        switch (index) {
        case 0:
            return output;
        case 1:
            return time;
        default:
            return duration;
        }
    }
    bool operator==(const ScheduleEntry&) const = default;
};

} // namespace quorel
