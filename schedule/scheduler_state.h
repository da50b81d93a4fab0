#pragma once

#include "platform/file_io.h"
#include "schedule/closed_periods.h"
#include "schedule/dated_timetables.h"
#include "schedule/next_bell.h"
#include "schedule/signals.h"
#include "schedule/today_table.h"

#include "core/module_size.h"
#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace quorel {

// Flags are signed 16-bit: -1 = on, 0 = off; only -1 counts as on.
inline constexpr int16_t kOn = -1;
inline constexpr int16_t kOff = 0;

// A day's timetable read ahead, in the last minute of the day before, so that the tick of
// midnight switches on the new day's first entries without reading a file.
struct PreparedDay {
    LocalDate date;
    int16_t day = 0;
    TodayTable table;
    std::optional<FileStamp> stamp;
    std::optional<DatedPeriod> period;
};

// The scheduler's state for the whole run. Arrays of outputs are indexed 1 to 4; element 0 is
// unused.
struct SchedulerState {
    TodayTable today;
    // Written only by SetOutputs.
    std::array<int16_t, kOutputCount + 1> OutputState{};
    // Seconds since midnight of each output's last scheduled switch-on; written only by the tick.
    std::array<float, kOutputCount + 1> OutputStartTime{};
    // The same moment on the monotonic clock, so an output on across midnight keeps counting.
    std::array<std::optional<double>, kOutputCount + 1> outputStartMonotonic{};
    // The tick's scan position: after a tick, the first slot that matched, or 601 when none did.
    int16_t ScanSlot = 0;
    // The date that today's table and the closure in force are for.
    std::optional<LocalDate> tableDate;
    // The next day's table, once read ahead.
    std::optional<PreparedDay> nextDay;
    // The day and the state of the day file that today's table was last loaded from.
    std::optional<int16_t> loadedDay;
    std::optional<FileStamp> loadedStamp;
    // The days without bells, the date they were last judged for and the state of their file
    // then, and the period that silences that date, if any.
    std::vector<ClosedPeriod> closedPeriods;
    std::optional<LocalDate> closedPeriodsDate;
    std::optional<FileStamp> closedPeriodsStamp;
    std::optional<ClosedPeriod> closedToday;
    // The special timetables' names and the dated periods that ring, with the state of their
    // files when read, and the period whose timetable rings on tableDate, if any.
    TimetableNames timetableNames;
    std::optional<FileStamp> timetableNamesStamp;
    std::vector<DatedPeriod> datedPeriods;
    std::optional<FileStamp> datedPeriodsStamp;
    std::optional<DatedPeriod> periodToday;
    // The signal that runs: from the first tick after it was asked for (startedAt, on the
    // monotonic clock), until its pattern ends or it is stopped. The timetable's entries on its
    // outputs do not ring meanwhile.
    struct RunningSignal {
        Signal signal;
        std::optional<double> startedAt;
    };
    std::optional<RunningSignal> signal;
    // No entry of the timetable rings while the bells are suspended.
    bool suspended = false;
    // The files refused for their size, each with its state when the journal said so.
    std::map<std::string, std::optional<FileStamp>> refusedFiles;
};

// Captions of the labels the tick writes; element k - 1 belongs to output k.
struct SchedulerCaptions {
    std::string LblHeure = "00:00:00";
    // The clock's synchronisation, in LblHeure's tool tip and colour.
    std::string LblHeureToolTip;
    bool clockWarning = false;
    std::array<std::string, kOutputCount> LblMaxi{"0", "0", "0", "0"};
    std::array<std::string, kOutputCount> LblTemp{"00:00", "00:00", "00:00", "00:00"};
    NextBellSign LblProchaine;
};

} // namespace quorel
