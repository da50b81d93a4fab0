#include "schedule/today_reload.h"

#include "schedule/day_file_path.h"
#include "schedule/journal_sentences.h"
#include "schedule/weekday.h"

#include <algorithm>
#include <filesystem>

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

// The scheduler's files as it reads them: a file refused for its size is journaled once for each
// state of it, however often it is read (the names are read with the periods, a day file again
// for the next day), and not again until it changes.
class JournaledReads final : public FileLayer {
  public:
    JournaledReads(FileLayer& files, SchedulerState& state, Journal& journal)
        : files_(files), state_(state), journal_(journal) {}

    std::optional<FileStamp> stamp(const std::string& path) override { return files_.stamp(path); }
    bool exists(const std::string& path) override { return files_.exists(path); }
    FileReadResult read(const std::string& path, int64_t maxBytes) override {
        FileReadResult file = files_.read(path, maxBytes);
        if (!file.tooLarge) {
            state_.refusedFiles.erase(path);
            return file;
        }
        std::optional<FileStamp> stamp = files_.stamp(path);
        const auto [known, added] = state_.refusedFiles.try_emplace(path, stamp);
        if (added || known->second != stamp) {
            known->second = std::move(stamp);
            journal_.note(
                fileRefusedSentence(std::filesystem::path(path).filename().string(), file.error));
        }
        return file;
    }
    std::string replace(const std::string& path, std::string_view bytes) override {
        return files_.replace(path, bytes);
    }
    FileReadResult tail(const std::string& path, int64_t maxBytes) override {
        return files_.tail(path, maxBytes);
    }
    std::string remove(const std::string& folder, const std::string& name) override {
        return files_.remove(folder, name);
    }

  private:
    FileLayer& files_;
    SchedulerState& state_;
    Journal& journal_;
};

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
    JournaledReads reads(files, state, journal);
    LoadTodayTable(loaded, dayFilePrefix, day, reads);
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

bool reloadDatedPeriodsIfChanged(SchedulerState& state, FileLayer& files, const ProgramPaths& paths,
                                 Journal& journal) {
    std::optional<FileStamp> namesStamp = files.stamp(paths.TimetableNamesPath);
    std::optional<FileStamp> periodsStamp = files.stamp(paths.DatedPeriodsPath);
    if (state.timetableNamesStamp == namesStamp && state.datedPeriodsStamp == periodsStamp) {
        return false;
    }
    JournaledReads reads(files, state, journal);
    state.timetableNames = loadTimetableNames(paths.TimetableNamesPath, reads);
    state.datedPeriods = loadDatedPeriods(paths.DatedPeriodsPath, state.timetableNames, reads);
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
                                  const LocalDate& today, Journal& journal) {
    std::optional<FileStamp> stamp = files.stamp(path);
    if (state.closedPeriodsDate == today && state.closedPeriodsStamp == stamp) {
        return false;
    }
    JournaledReads reads(files, state, journal);
    state.closedPeriods = loadClosedPeriods(path, reads);
    state.closedPeriodsStamp = std::move(stamp);
    judgeClosure(state, today);
    return true;
}

void loadDay(SchedulerState& state, FileLayer& files, const ProgramPaths& paths,
             const LocalDate& date, Journal& journal) {
    reloadDatedPeriodsIfChanged(state, files, paths, journal);
    reloadTimetableOf(state, files, paths, date, journal);
    reloadClosedPeriodsIfChanged(state, files, paths.ClosedPeriodsPath, date, journal);
    state.tableDate = date;
    state.nextDay.reset();
}

void prepareDay(SchedulerState& state, FileLayer& files, const ProgramPaths& paths,
                const LocalDate& date, Journal& journal) {
    PreparedDay& prepared = state.nextDay.emplace();
    prepared.date = date;
    prepared.period = otherPeriodOn(state, date);
    prepared.day = timetableOn(state, date);
    prepared.stamp = files.stamp(dayFilePath(paths.DayFilePrefix, prepared.day));
    JournaledReads reads(files, state, journal);
    LoadTodayTable(prepared.table, paths.DayFilePrefix, prepared.day, reads);
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
