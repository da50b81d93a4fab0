#include "schedule/today_reload.h"

#include "schedule/day_file_path.h"

namespace quorel {

bool reloadTodayTableIfChanged(SchedulerState& state, const std::string& dayFilePrefix,
                               int16_t day) {
    // Looked at before reading, so that a change made during the read is seen next time.
    std::optional<FileStamp> stamp = fileStamp(dayFilePath(dayFilePrefix, day));
    if (state.loadedDay == day && state.loadedStamp == stamp) {
        return false;
    }
    LoadTodayTable(state.today, dayFilePrefix, day);
    state.loadedDay = day;
    state.loadedStamp = std::move(stamp);
    return true;
}

bool reloadClosedPeriodsIfChanged(SchedulerState& state, const std::string& path,
                                  const LocalDate& today) {
    std::optional<FileStamp> stamp = fileStamp(path);
    if (state.closedPeriodsDate == today && state.closedPeriodsStamp == stamp) {
        return false;
    }
    state.closedPeriods = loadClosedPeriods(path);
    state.closedPeriodsDate = today;
    state.closedPeriodsStamp = std::move(stamp);
    const ClosedPeriod* period = periodCovering(state.closedPeriods, today);
    state.closedToday = period != nullptr ? std::optional<ClosedPeriod>(*period) : std::nullopt;
    return true;
}

} // namespace quorel
