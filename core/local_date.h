#pragma once

#include <string>

namespace quorel {

// The fields of the current local date, as the calendar shows them.
struct LocalDate {
    int year = 0;
    int month = 0; // 1 to 12
    int day = 0;   // 1 to 31
    bool operator==(const LocalDate&) const = default;
    // Calendar order. (Written out: the meta-object compiler cannot parse <compare>.)
    bool operator<(const LocalDate& other) const { return key() < other.key(); }
    bool operator<=(const LocalDate& other) const { return key() <= other.key(); }

  private:
    long key() const { return (static_cast<long>(year) * 16 + month) * 32 + day; }
};

// The local date and the time of day to the millisecond, "10:15:00.007", of one reading of the
// clock: a line stamped just before midnight must not land in the next day's file.
struct LocalTimeStamp {
    LocalDate date;
    std::string time;
};

} // namespace quorel
