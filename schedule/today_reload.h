#pragma once

#include "core/journal.h"
#include "core/program_paths.h"
#include "platform/file_layer.h"
#include "schedule/scheduler_state.h"

#include <cstdint>
#include <string>

namespace quorel {

// Loads today's table from the day file of day, unless the table already holds that day's file
// as it is now (same file, size and modification time): the scheduler asks at every tick of
// second 00, and reading a large file each time could make an entry of that second late.
// Returns true when the table was loaded. The journal is told how many entries a new day's table
// or a changed one holds.
// otherTimetable names the timetable in the journal when it is not the weekday's own.
bool reloadTodayTableIfChanged(SchedulerState& state, FileLayer& files,
                               const std::string& dayFilePrefix, int16_t day, Journal& journal,
                               const std::string& otherTimetable = {});

// Which timetable rings on date: that of the dated period that rings then, else the weekday's.
int16_t timetableOn(const SchedulerState& state, const LocalDate& date);

// Reads the special timetables' names and the dated periods again when either file changed.
// Returns true when they were read.
// Here and below, a file refused for its size reads as missing, and the journal says so once for
// each state of the file.
bool reloadDatedPeriodsIfChanged(SchedulerState& state, FileLayer& files, const ProgramPaths& paths,
                                 Journal& journal);

// Loads today's table from the timetable that rings on date, when it changed (another timetable,
// or its file), and notes the period that gives it. Returns true when the table or the period
// changed.
bool reloadTimetableOf(SchedulerState& state, FileLayer& files, const ProgramPaths& paths,
                       const LocalDate& date, Journal& journal);

// Reads the days without bells from the file at path and judges today by them, unless they were
// already judged for today from the file as it is now. Returns true when the list or today's
// period may have changed.
bool reloadClosedPeriodsIfChanged(SchedulerState& state, FileLayer& files, const std::string& path,
                                  const LocalDate& today, Journal& journal);

// Puts the timetable and the closure of date in force, reading what has changed: at start-up, and
// at a change of day that nothing was read ahead for.
void loadDay(SchedulerState& state, FileLayer& files, const ProgramPaths& paths,
             const LocalDate& date, Journal& journal);

// Reads ahead the timetable of date (the next day's) into state.nextDay.
void prepareDay(SchedulerState& state, FileLayer& files, const ProgramPaths& paths,
                const LocalDate& date, Journal& journal);

// Puts the timetable read ahead for date in force, with the closure of date from the list in
// memory, without touching a file. False when nothing was read ahead for date. sentence is set
// to the journal's line that names the timetable in force.
bool enterPreparedDay(SchedulerState& state, const LocalDate& date, std::string& sentence);

// The number of entries the table holds.
int filledSlots(const TodayTable& table);

} // namespace quorel
