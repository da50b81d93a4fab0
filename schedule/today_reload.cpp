#include "schedule/today_reload.h"

#include "schedule/day_file_path.h"
#include "schedule/journal_sentences.h"

#include <algorithm>

namespace quorel {

bool reloadTodayTableIfChanged(SchedulerState& state, const std::string& dayFilePrefix, int16_t day,
                               Journal& journal) {
    // Looked at before reading, so that a change made during the read is seen next time.
    std::optional<FileStamp> stamp = fileStamp(dayFilePath(dayFilePrefix, day));
    if (state.loadedDay == day && state.loadedStamp == stamp) {
        return false;
    }
    TodayTable loaded;
    LoadTodayTable(loaded, dayFilePrefix, day);
    // A file saved again with the same entries is no news.
    const bool news = state.loadedDay != day || !(loaded == state.today);
    state.today = std::move(loaded);
    state.loadedDay = day;
    state.loadedStamp = std::move(stamp);
    if (news) {
        const auto& times = state.today.TodayTime;
        const auto filled = std::count_if(times.begin() + 1, times.end(),
                                          [](const std::string& time) { return !time.empty(); });
        journal.note(tableLoadedSentence(static_cast<int>(filled)));
    }
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
