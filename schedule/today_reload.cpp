#include "schedule/today_reload.h"

#include "schedule/day_file_path.h"
#include "schedule/journal_sentences.h"
#include "schedule/weekday.h"

#include <algorithm>

namespace quorel {

namespace {

int16_t weekdayTimetable(const LocalDate& date) {
    return static_cast<int16_t>(CurrentWeekday(date) - 1);
}

// The dated period that rings date, when its timetable is not the weekday's own.
std::optional<DatedPeriod> otherPeriodOn(const SchedulerState& state, const LocalDate& date) {
    const DatedPeriod* period = periodRinging(state.datedPeriods, date);
    if (period == nullptr || period->timetable == weekdayTimetable(date)) {
        return std::nullopt;
    }
    return *period;
}

std::string nameOf(const SchedulerState& state, const std::optional<DatedPeriod>& period) {
    return period ? timetableName(period->timetable, state.timetableNames) : std::string();
}

void judgeClosure(SchedulerState& state, const LocalDate& date) {
    const ClosedPeriod* period = periodCovering(state.closedPeriods, date);
    state.closedToday = period != nullptr ? std::optional<ClosedPeriod>(*period) : std::nullopt;
    state.closedPeriodsDate = date;
}

} // namespace

int filledSlots(const TodayTable& table) {
    const auto& times = table.TodayTime;
    return static_cast<int>(std::count_if(times.begin() + 1, times.end(),
                                          [](const std::string& time) { return !time.empty(); }));
}

int16_t timetableOn(const SchedulerState& state, const LocalDate& date) {
    const std::optional<DatedPeriod> period = otherPeriodOn(state, date);
    return period ? period->timetable : weekdayTimetable(date);
}

bool reloadTodayTableIfChanged(SchedulerState& state, FileLayer& files,
                               const std::string& dayFilePrefix, int16_t day, Journal& journal,
                               const std::string& otherTimetable) {
    // Looked at before reading, so that a change made during the read is seen next time.
    std::optional<FileStamp> stamp = files.stamp(dayFilePath(dayFilePrefix, day));
    if (state.loadedDay == day && state.loadedStamp == stamp) {
        return false;
    }
    TodayTable loaded;
    LoadTodayTable(loaded, dayFilePrefix, day, files);
    // A file saved again with the same entries is no news.
    const bool news = state.loadedDay != day || !(loaded == state.today);
    state.today = std::move(loaded);
    state.loadedDay = day;
    state.loadedStamp = std::move(stamp);
    if (news) {
        journal.note(tableLoadedSentence(filledSlots(state.today), otherTimetable));
    }
    return true;
}

bool reloadDatedPeriodsIfChanged(SchedulerState& state, FileLayer& files,
                                 const ProgramPaths& paths) {
    std::optional<FileStamp> namesStamp = files.stamp(paths.TimetableNamesPath);
    std::optional<FileStamp> periodsStamp = files.stamp(paths.DatedPeriodsPath);
    if (state.timetableNamesStamp == namesStamp && state.datedPeriodsStamp == periodsStamp) {
        return false;
    }
    state.timetableNames = loadTimetableNames(paths.TimetableNamesPath, files);
    state.datedPeriods = loadDatedPeriods(paths.DatedPeriodsPath, state.timetableNames, files);
    state.timetableNamesStamp = std::move(namesStamp);
    state.datedPeriodsStamp = std::move(periodsStamp);
    return true;
}

bool reloadTimetableOf(SchedulerState& state, FileLayer& files, const ProgramPaths& paths,
                       const LocalDate& date, Journal& journal) {
    const std::optional<DatedPeriod> period = otherPeriodOn(state, date);
    const bool periodChanged = state.periodToday != period;
    state.periodToday = period;
    const int16_t timetable = period ? period->timetable : weekdayTimetable(date);
    return reloadTodayTableIfChanged(state, files, paths.DayFilePrefix, timetable, journal,
                                     nameOf(state, period)) ||
           periodChanged;
}

bool reloadClosedPeriodsIfChanged(SchedulerState& state, FileLayer& files, const std::string& path,
                                  const LocalDate& today) {
    std::optional<FileStamp> stamp = files.stamp(path);
    if (state.closedPeriodsDate == today && state.closedPeriodsStamp == stamp) {
        return false;
    }
    state.closedPeriods = loadClosedPeriods(path, files);
    state.closedPeriodsStamp = std::move(stamp);
    judgeClosure(state, today);
    return true;
}

void loadDay(SchedulerState& state, FileLayer& files, const ProgramPaths& paths,
             const LocalDate& date, Journal& journal) {
    reloadDatedPeriodsIfChanged(state, files, paths);
    reloadTimetableOf(state, files, paths, date, journal);
    reloadClosedPeriodsIfChanged(state, files, paths.ClosedPeriodsPath, date);
    state.tableDate = date;
    state.nextDay.reset();
}

void prepareDay(SchedulerState& state, FileLayer& files, const ProgramPaths& paths,
                const LocalDate& date) {
    PreparedDay& prepared = state.nextDay.emplace();
    prepared.date = date;
    prepared.period = otherPeriodOn(state, date);
    prepared.day = timetableOn(state, date);
    prepared.stamp = files.stamp(dayFilePath(paths.DayFilePrefix, prepared.day));
    LoadTodayTable(prepared.table, paths.DayFilePrefix, prepared.day, files);
}

bool enterPreparedDay(SchedulerState& state, const LocalDate& date, std::string& sentence) {
    if (!state.nextDay || state.nextDay->date != date) {
        return false;
    }
    PreparedDay& prepared = *state.nextDay;
    // Every new day says which timetable it rings, even the same as the day before.
    sentence = tableLoadedSentence(filledSlots(prepared.table), nameOf(state, prepared.period));
    state.today = std::move(prepared.table);
    state.loadedDay = prepared.day;
    state.loadedStamp = std::move(prepared.stamp);
    state.periodToday = prepared.period;
    judgeClosure(state, date);
    state.tableDate = date;
    state.nextDay.reset();
    return true;
}

} // namespace quorel
