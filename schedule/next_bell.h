#pragma once

#include "schedule/closed_periods.h"
#include "schedule/today_table.h"

#include <string>

namespace quorel {

// What the label LblProchaine shows: two lines, and whether they warn that nothing rings today.
struct NextBellSign {
    std::string text;
    bool warning = false;
    std::string time;    // the time of the entry announced, empty when none is
    std::string toolTip; // what the label's tool tip says; empty: the text itself
    bool operator==(const NextBellSign&) const = default;
};

// The sign for today: the period that silences it, or else the earliest entry of today's table
// that can still fire after the clock text now ("10:15:00 - S1 - 5 s"); of entries at the same
// time, the first in file order.
NextBellSign nextBellSign(const TodayTable& table, const std::string& now,
                          const ClosedPeriod* closedToday);

// The sign of a day that rings another timetable than its weekday's, for the period that gives it:
// the first line names the timetable ("Horaire particulier « Examens »"), the tool tip the period.
NextBellSign otherTimetableSign(NextBellSign sign, const std::string& name, const LocalDate& from,
                                const LocalDate& to);

// The sign while the port choice is "Désactivé".
NextBellSign stoppedBellSign();

// While a signal runs: "Signal « Alerte intrusion » en cours", in red; the timetable's sign stays
// in the tool tip.
NextBellSign signalSign(const NextBellSign& timetable, const std::string& signal);
// While the bells are suspended: "Sonneries suspendues", in red, the same way.
NextBellSign suspendedSign(const NextBellSign& timetable);

} // namespace quorel
