#pragma once

#include "schedule/journal.h"
#include "schedule/scheduler_state.h"

#include <cstdint>
#include <string>

namespace quorel {

// Loads today's table from the day file of day, unless the table already holds that day's file
// as it is now (same file, size and modification time): the scheduler asks at every tick of
// second 00, and reading a large file each time could make an entry of that second late.
// Returns true when the table was loaded. The journal is told how many entries a new day's table
// or a changed one holds.
bool reloadTodayTableIfChanged(SchedulerState& state, const std::string& dayFilePrefix, int16_t day,
                               Journal& journal);

// Reads the days without bells from the file at path and judges today by them, unless they were
// already judged for today from the file as it is now. Returns true when the list or today's
// period may have changed.
bool reloadClosedPeriodsIfChanged(SchedulerState& state, const std::string& path,
                                  const LocalDate& today);

} // namespace quorel
