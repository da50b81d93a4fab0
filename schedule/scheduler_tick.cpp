#include "schedule/scheduler_tick.h"

#include "schedule/calendar_date.h"
#include "schedule/format_elapsed.h"
#include "schedule/journal_sentences.h"
#include "schedule/number_text.h"
#include "schedule/time_text.h"
#include "schedule/today_reload.h"
#include "schedule/weekday.h"

#include "core/module_size.h"
#include <algorithm>
#include <cmath>
#include <string>
#include <utility>

namespace quorel {

namespace {

constexpr int kSecondsPerDay = 86400;
// A wall clock that moved by more than this beside the monotonic one was set, not held up.
constexpr double kClockJumpSeconds = 2;
// An entry's own second, with room for a tick that comes late in it.
constexpr double kOwnSecondSeconds = 1.5;

// Marks a tick as running until it returns, however it returns.
class RunningMark {
  public:
    explicit RunningMark(bool& running) : running_(running) { running_ = true; }
    ~RunningMark() { running_ = false; }
    RunningMark(const RunningMark&) = delete;
    RunningMark& operator=(const RunningMark&) = delete;

  private:
    bool& running_;
};

// Time texts are eight characters: a plain loop beats a call to the library's memcmp 600 times
// a tick.
bool sameText(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i] != b[i]) {
            return false;
        }
    }
    return true;
}

bool isOutputNumber(int output) {
    return output >= 1 && output <= kOutputCount;
}

// The entries of table due from second from to second to, by second then in file order: the
// second, then the slot.
std::vector<std::pair<int, int>> entriesDueBetween(const TodayTable& table, int from, int to) {
    std::vector<std::pair<int, int>> due;
    for (int slot = 1; slot <= TodayTable::kSlots; ++slot) {
        const std::optional<int> at = clockSecondOfDay(table.TodayTime[slot]);
        if (at && *at >= from && *at <= to && isOutputNumber(table.TodayOutput[slot])) {
            due.emplace_back(*at, slot);
        }
    }
    std::stable_sort(due.begin(), due.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    return due;
}

} // namespace

SchedulerTick::SchedulerTick(SchedulerState& state, SchedulerCaptions& captions, Clock& clock,
                             EventPump& pump, View& view, const ProgramPaths& paths,
                             OutputSwitch& outputs, Journal& journal, FileLayer& files)
    : state_(state), captions_(captions), clock_(clock), pump_(pump), view_(view), paths_(paths),
      outputs_(outputs), journal_(journal), files_(files) {}

void SchedulerTick::TimerSat_Timer() {
    // A tick raised inside one of this tick's yields would rescan and switch again in the middle
    // of a relay command; it is dropped instead.
    if (running_) {
        return;
    }
    RunningMark mark(running_);

    // One reading gives the date and the second together, even at midnight.
    const LocalTimeStamp now = clock_.localTimeStamp();
    const double monotonic = clock_.monotonicSeconds();
    std::string clockText = now.time.substr(0, 8);
    if (clockText != captions_.LblHeure) {
        captions_.LblHeure = std::move(clockText);
        view_.redraw(ViewPart::Clock);
    }
    const int second = clockSecondOfDay(captions_.LblHeure).value_or(0);
    late_.clear();
    pendingLines_.clear();
    nextBellMoved_ = false;
    newDay_ = false;

    // The seconds since the last tick that no tick looked at, when the wall clock moved as the
    // monotonic one did; a clock set forward or back, or a sleep, is a jump.
    long skipped = 0;
    bool crossedMidnight = false;
    const int64_t wall = clock_.wallMicroseconds();
    const double sinceBoot = clock_.sinceBootSeconds();
    std::optional<std::pair<double, double>> jump; // its size, and the time slept in it
    if (lastLook_) {
        crossedMidnight = lastLook_->date != now.date;
        const bool consecutive = !crossedMidnight || addDays(lastLook_->date, 1) == now.date;
        const long wallGap = second - lastLook_->second + (crossedMidnight ? kSecondsPerDay : 0);
        const double monotonicGap = monotonic - lastLook_->monotonic;
        const double drift = std::abs(static_cast<double>(wallGap) - monotonicGap);
        if (consecutive && drift <= kClockJumpSeconds) {
            skipped = wallGap - 1;
        } else {
            jump.emplace(static_cast<double>(wall - lastLook_->wallMicroseconds) / 1e6 -
                             monotonicGap,
                         sinceBoot - lastLook_->sinceBoot - monotonicGap);
        }
    }
    if (skipped > 0 && crossedMidnight) {
        // The end of the day before, against its own timetable.
        lookAtSkippedSeconds(lastLook_->second + 1, kSecondsPerDay - 1, second + kSecondsPerDay);
    }
    if (state_.tableDate != now.date) {
        enterDay(now.date);
    }
    if (skipped > 0) {
        lookAtSkippedSeconds(crossedMidnight ? 0 : lastLook_->second + 1, second - 1, second);
    }
    if (jump) {
        clockJumped(now, second, jump->first, jump->second);
    }
    lastLook_ = Look{now.date, second, monotonic, wall, sinceBoot};

    const bool fired = scanForDueEntries();
    updateOutputsThatAreOn();
    outputs_.keepRelaysInStep();
    // Written once the relay bytes are out: the journal never makes a bell late.
    for (const std::string& line : pendingLines_) {
        journal_.note(line);
    }
    if (newDay_ && onNewDay) {
        onNewDay(now.date);
    }
    lookAtFiles(now.date, second);
    if (second % 60 >= 30 && !fired &&
        (halfMinute_ != second / 60 || halfMinuteDate_ != now.date)) {
        halfMinute_ = second / 60;
        halfMinuteDate_ = now.date;
        if (onHalfMinute) {
            onHalfMinute();
        }
    }
    // An entry that fired, or one announced whose time went by unrung, moves the sign on.
    const std::string& announced = captions_.LblProchaine.time;
    if (nextBellMoved_ || fired || (!announced.empty() && announced < captions_.LblHeure)) {
        showNextBell();
    }
    pump_.yield();
}

void SchedulerTick::showNextBell() {
    const ClosedPeriod* closed = state_.closedToday ? &*state_.closedToday : nullptr;
    captions_.LblProchaine = nextBellSign(state_.today, clock_.clockText(), closed);
    if (closed == nullptr && state_.periodToday) {
        const DatedPeriod& period = *state_.periodToday;
        captions_.LblProchaine = otherTimetableSign(
            std::move(captions_.LblProchaine),
            timetableName(period.timetable, state_.timetableNames), period.from, period.to);
    }
    if (missed_ > 0 && missedDate_ == clock_.localDate()) {
        NextBellSign& sign = captions_.LblProchaine;
        sign.toolTip = (sign.toolTip.empty() ? sign.text : sign.toolTip) + "\n" +
                       std::to_string(missed_) +
                       (missed_ > 1 ? " sonneries manquées" : " sonnerie manquée") +
                       " aujourd'hui (voir le journal)";
    }
    view_.redraw(ViewPart::NextBell);
}

void SchedulerTick::enterDay(const LocalDate& date) {
    newDay_ = state_.tableDate.has_value();
    std::string sentence;
    if (enterPreparedDay(state_, date, sentence)) {
        if (!sentence.empty()) {
            pendingLines_.push_back(std::move(sentence));
        }
    } else {
        // Nothing was read ahead (the computer slept through the evening): read it now, before
        // the scan, since the table in memory is another day's.
        loadDay(state_, files_, paths_, date, journal_);
    }
    nextBellMoved_ = true;
}

void SchedulerTick::lookAtSkippedSeconds(int from, int to, int nowSecond) {
    if (from > to) {
        return;
    }
    const TodayTable& table = state_.today;
    const std::vector<std::pair<int, int>> due = entriesDueBetween(table, from, to);
    for (const auto& [at, slot] : due) {
        const std::string& time = table.TodayTime[slot];
        const int output = table.TodayOutput[slot];
        const int32_t duration = table.TodayDuration[slot];
        if (state_.closedToday) {
            pendingLines_.push_back(
                silencedEntrySentence(time, output, duration, state_.closedToday->label));
        } else if (nowSecond - at <= kLateEntrySeconds) {
            late_.push_back({at, output, duration, time});
        } else {
            pendingLines_.push_back(busyEntrySentence(time, output, duration));
        }
    }
}

bool SchedulerTick::scanForDueEntries() {
    const TodayTable& table = state_.today;
    std::array<int, kOutputCount + 1>
        dueSlot{}; // the slot that switches each output on; 0 for none
    std::array<const LateEntry*, kOutputCount + 1> dueLate{};
    state_.ScanSlot = TodayTable::kSlots + 1;
    for (int slot = 1; slot <= TodayTable::kSlots; ++slot) {
        // The clock is read for every slot, so a second that begins during the scan is seen.
        if (!sameText(clock_.clockText(), table.TodayTime[slot])) {
            continue;
        }
        const int output = table.TodayOutput[slot];
        if (!isOutputNumber(output)) {
            continue;
        }
        // On a day without bells no entry starts; outputs already on still go off below.
        if (state_.closedToday) {
            if (!alreadyNoted(slot)) {
                pendingLines_.push_back(silencedEntrySentence(table.TodayTime[slot], output,
                                                              table.TodayDuration[slot],
                                                              state_.closedToday->label));
            }
            continue;
        }
        if (rangEarlierToday(slot, clock_.monotonicSeconds())) {
            continue;
        }
        if (state_.ScanSlot > TodayTable::kSlots) {
            state_.ScanSlot = static_cast<int16_t>(slot);
        }
        // Every output due in this second is switched on; for an output due twice, the first
        // entry in file order gives the duration.
        if (dueSlot[output] != 0) {
            continue;
        }
        dueSlot[output] = slot;
        state_.OutputStartTime[output] = clock_.secondsSinceMidnight();
        state_.outputStartMonotonic[output] = clock_.monotonicSeconds();
        captions_.LblMaxi[output - 1] = std::to_string(table.TodayDuration[slot]);
    }
    // Entries of a second that went by without a tick, for outputs this second leaves free.
    for (const LateEntry& entry : late_) {
        if (dueSlot[entry.output] != 0 || dueLate[entry.output] != nullptr) {
            continue;
        }
        dueLate[entry.output] = &entry;
        state_.OutputStartTime[entry.output] = clock_.secondsSinceMidnight();
        state_.outputStartMonotonic[entry.output] = clock_.monotonicSeconds();
        captions_.LblMaxi[entry.output - 1] = std::to_string(entry.duration);
    }
    if (state_.ScanSlot > TodayTable::kSlots && late_.empty()) {
        return false;
    }
    view_.redraw(ViewPart::Outputs);
    // One call for all of them: the relay bytes go out once, for the combined state.
    std::array<int16_t, kOutputCount + 1> flags = state_.OutputState;
    for (int output = 1; output <= kOutputCount; ++output) {
        if (dueSlot[output] != 0 || dueLate[output] != nullptr) {
            flags[output] = kOn;
        }
    }
    const SwitchResult result = outputs_.SetOutputs(flags[1], flags[2], flags[3], flags[4]);
    for (int output = 1; output <= kOutputCount; ++output) {
        // An output is noted as switched on only once its relay has taken the command.
        if (!result.acted || (output <= kRelayCount && !result.written[output - 1])) {
            continue;
        }
        if (const int slot = dueSlot[output]; slot != 0 && !alreadyNoted(slot)) {
            pendingLines_.push_back(
                outputOnSentence(output, table.TodayTime[slot], table.TodayDuration[slot]));
        } else if (const LateEntry* entry = dueLate[output]) {
            pendingLines_.push_back(outputOnSentence(output, entry->time, entry->duration));
        }
    }
    return true;
}

bool SchedulerTick::rangEarlierToday(int slot, double monotonic) {
    const LocalDate today = clock_.localDate();
    if (ringDate_ != today) {
        ringDate_ = today;
        rang_.clear();
    }
    const std::string entry =
        state_.today.TodayTime[slot] + " " + std::to_string(state_.today.TodayOutput[slot]);
    const auto [first, added] = rang_.emplace(entry, monotonic);
    // The ticks of the entry's own second switch it on again, as a failed command is resent.
    return !added && monotonic - first->second > kOwnSecondSeconds;
}

void SchedulerTick::clockJumped(const LocalTimeStamp& now, int second, double jump, double slept) {
    pendingLines_.push_back(clockJumpSentence(jump));
    if (jump <= 0) {
        return;
    }
    // The day's entries from the second after the last tick, or from midnight for a new day.
    const int from = lastLook_->date == now.date ? lastLook_->second + 1 : 0;
    for (std::string& line :
         missedEntries(from, second - 1,
                       slept > kClockJumpSeconds ? "ordinateur en veille" : "horloge avancée")) {
        pendingLines_.push_back(std::move(line));
    }
}

void SchedulerTick::noteMissedEntries(int from, int to, const std::string& why) {
    for (const std::string& line : missedEntries(from, to, why)) {
        journal_.note(line);
    }
    showNextBell();
}

std::vector<std::string> SchedulerTick::missedEntries(int from, int to, const std::string& why) {
    std::vector<std::string> lines;
    const LocalDate today = clock_.localDate();
    if (missedDate_ != today) {
        missedDate_ = today;
        missed_ = 0;
    }
    if (state_.closedToday || from > to) {
        return lines;
    }
    const TodayTable& table = state_.today;
    const std::vector<std::pair<int, int>> due = entriesDueBetween(table, from, to);
    for (const auto& [at, slot] : due) {
        lines.push_back(missedEntrySentence(table.TodayTime[slot], table.TodayOutput[slot],
                                            table.TodayDuration[slot], why));
        ++missed_;
    }
    nextBellMoved_ |= !due.empty();
    return lines;
}

bool SchedulerTick::alreadyNoted(int slot) {
    std::string second = isoDateText(clock_.localDate()) + " " + state_.today.TodayTime[slot];
    if (second != notedSecond_) {
        notedSecond_ = std::move(second);
        notedSlots_.clear();
    }
    if (std::find(notedSlots_.begin(), notedSlots_.end(), slot) != notedSlots_.end()) {
        return true;
    }
    notedSlots_.push_back(slot);
    return false;
}

void SchedulerTick::updateOutputsThatAreOn() {
    for (int k = 1; k <= kOutputCount; ++k) {
        // Read afresh for each output: switching an earlier one may have run other handlers.
        if (state_.OutputState[k] != kOn) {
            continue;
        }
        std::string shown = FormatElapsed(elapsedSeconds(k));
        if (shown != captions_.LblTemp[k - 1]) {
            captions_.LblTemp[k - 1] = std::move(shown);
            view_.redraw(ViewPart::Outputs);
        }
        const float elapsed = static_cast<float>(elapsedSeconds(k));
        // The duration of the last scheduled switch-on lives only in the caption.
        const float duration = static_cast<float>(leadingNumber(captions_.LblMaxi[k - 1]));
        if (!(duration > elapsed)) {
            std::array<int16_t, kOutputCount + 1> flags = state_.OutputState;
            flags[k] = kOff;
            if (outputs_.SetOutputs(flags[1], flags[2], flags[3], flags[4]).acted) {
                journal_.note(outputOffSentence(k));
            }
        }
    }
}

void SchedulerTick::lookAtFiles(const LocalDate& date, int second) {
    // Looking at the files at every second 00 picks up a saved timetable or list of days without
    // bells within a minute; the next tick rings by them.
    // Once per minute: the other ticks of second 00 would only look at the same files again.
    const int minute = second / 60;
    if (second % 60 == 0 && (filesMinute_ != minute || filesDate_ != date)) {
        filesMinute_ = minute;
        filesDate_ = date;
        if (reloadDatedPeriodsIfChanged(state_, files_, paths_, journal_)) {
            nextBellMoved_ = true;
            state_.nextDay.reset(); // read ahead by the periods before
        }
        nextBellMoved_ |= reloadTimetableOf(state_, files_, paths_, date, journal_);
        nextBellMoved_ |=
            reloadClosedPeriodsIfChanged(state_, files_, paths_.ClosedPeriodsPath, date, journal_);
    }
    const LocalDate tomorrow = addDays(date, 1);
    if (second >= kSecondsPerDay - 60 && !(state_.nextDay && state_.nextDay->date == tomorrow)) {
        prepareDay(state_, files_, paths_, tomorrow, journal_);
    }
}

double SchedulerTick::elapsedSeconds(int output) {
    // The monotonic stamp keeps counting across midnight and clock changes.
    if (const auto& started = state_.outputStartMonotonic[output]) {
        return clock_.monotonicSeconds() - *started;
    }
    // Switched on by hand with no scheduled switch-on since start-up: against a start of 0.
    return static_cast<double>(clock_.secondsSinceMidnight()) -
           static_cast<double>(state_.OutputStartTime[output]);
}

} // namespace quorel
