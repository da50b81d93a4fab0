#include "schedule/scheduler_tick.h"

#include "schedule/calendar_date.h"
#include "schedule/day_file_path.h"
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
const std::string kNotRunning = "Quorel n'était pas lancé";

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

    const Look look{now.date,
                    second,
                    monotonic,
                    clock_.wallMicroseconds(),
                    clock_.sinceBootSeconds(),
                    clock_.utcOffsetSeconds()};
    const std::vector<Gap> gaps = lastLook_ ? gapsSince(*lastLook_, look) : std::vector<Gap>{};
    const long todayStart = dayNumber(now.date) * kSecondsPerDay;
    if (state_.tableDate != now.date) {
        if (state_.tableDate && dayNumber(*state_.tableDate) + 1 == dayNumber(now.date)) {
            // The end of the day before, against its own timetable.
            lookAtGaps(gaps, todayStart - kSecondsPerDay, second + kSecondsPerDay);
        }
        enterDay(now.date);
    }
    lookAtGaps(gaps, todayStart, second);
    lastLook_ = look;
    start_.reset();

    const bool fired = scanForDueEntries();
    driveSignal(monotonic);
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

std::vector<SchedulerTick::Gap> SchedulerTick::gapsSince(const Look& last, const Look& now) {
    const long lastAt = dayNumber(last.date) * kSecondsPerDay + last.second;
    const long nowAt = dayNumber(now.date) * kSecondsPerDay + now.second;
    const int offsetChange = now.utcOffset - last.utcOffset;
    // The seconds that went by, on a clock that summer time does not move.
    const long utcGap = nowAt - lastAt - offsetChange;
    const double monotonicGap = now.monotonic - last.monotonic;
    if (std::abs(static_cast<double>(utcGap) - monotonicGap) > kClockJumpSeconds) {
        const double jump =
            static_cast<double>(now.wallMicroseconds - last.wallMicroseconds) / 1e6 - monotonicGap;
        if (offsetChange != 0) {
            pendingLines_.push_back(summerTimeSentence(offsetChange));
        }
        clockJumped(last, now, jump, now.sinceBoot - last.sinceBoot - monotonicGap);
        return {};
    }
    std::vector<Gap> gaps;
    const long skipped = std::max(utcGap - 1, 0L);
    if (offsetChange != 0) {
        pendingLines_.push_back(summerTimeSentence(offsetChange));
    }
    if (offsetChange >= 0) {
        // Forward: the seconds skipped while held up, then those the change leaves out.
        gaps.push_back({lastAt + 1, lastAt + skipped, false});
        gaps.push_back({lastAt + skipped + 1, nowAt - 1, true});
    } else {
        // Back: the seconds skipped are those just before now; the hour that comes twice is
        // looked at again, and what rang in it the first time does not ring again.
        gaps.push_back({nowAt - skipped, nowAt - 1, false});
    }
    return gaps;
}

void SchedulerTick::lookAtGaps(const std::vector<Gap>& gaps, long dayStart, int nowSecond) {
    for (const Gap& gap : gaps) {
        const long from = std::max(gap.from, dayStart) - dayStart;
        const long to = std::min(gap.to, dayStart + kSecondsPerDay - 1) - dayStart;
        if (from > to) {
            continue;
        }
        if (gap.nonexistent) {
            lookAtNonexistentSeconds(static_cast<int>(from), static_cast<int>(to));
        } else {
            lookAtSkippedSeconds(static_cast<int>(from), static_cast<int>(to), nowSecond);
        }
    }
}

void SchedulerTick::started(std::optional<int> lastSeen) {
    const LocalTimeStamp now = clock_.localTimeStamp();
    const int second = clockSecondOfDay(now.time.substr(0, 8)).value_or(0);
    const int from = lastSeen ? *lastSeen + 1 : 0;
    const int owed = std::max(from, second - kLateEntrySeconds);
    noteMissedEntries(from, owed - 1, kNotRunning);
    if (owed >= second + 1) {
        return; // the journal's last line is of this very second
    }
    // As if a tick had looked at the second before the first one owed: the first tick rings
    // the entries owed that are at most kLateEntrySeconds late, and lists the others.
    const double back = second - (owed - 1);
    lastLook_ = Look{now.date,
                     owed - 1,
                     clock_.monotonicSeconds() - back,
                     clock_.wallMicroseconds() - static_cast<int64_t>(back * 1e6),
                     clock_.sinceBootSeconds() - back,
                     clock_.utcOffsetSeconds()};
    start_ = Start{now.date, owed, second};
}

void SchedulerTick::restart() {
    if (start_) {
        // No tick looked at the seconds before the start: they were not rung.
        noteMissedEntries(start_->from, start_->second - 1, kNotRunning);
        start_.reset();
    }
    lastLook_.reset();
    filesMinute_ = -1;
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
    if (state_.signal) {
        captions_.LblProchaine = signalSign(captions_.LblProchaine, state_.signal->signal.name);
    } else if (state_.suspended) {
        captions_.LblProchaine = suspendedSign(captions_.LblProchaine);
    }
    if (const int missed = missedToday(); missed > 0) {
        NextBellSign& sign = captions_.LblProchaine;
        sign.toolTip = (sign.toolTip.empty() ? sign.text : sign.toolTip) + "\n" +
                       std::to_string(missed) +
                       (missed > 1 ? " sonneries manquées" : " sonnerie manquée") +
                       " aujourd'hui (voir le journal)";
    }
    view_.redraw(ViewPart::NextBell);
}

void SchedulerTick::enterDay(const LocalDate& date) {
    newDay_ = state_.tableDate.has_value();
    // What rang the day before is kept, for a clock set back over midnight.
    entries_.erase(entries_.begin(), entries_.lower_bound(isoDateText(addDays(date, -1))));
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
            if (firstNoteOf(slot, Fate::NotRung)) {
                pendingLines_.push_back(
                    silencedEntrySentence(time, output, duration, state_.closedToday->label));
            }
        } else if (nowSecond - at <= kLateEntrySeconds) {
            late_.push_back({at, entryKey(slot), output, duration, time});
        } else if (!firstNoteOf(slot, Fate::Missed)) {
            continue;
        } else if (start_ && state_.tableDate == start_->date && at < start_->second) {
            pendingLines_.push_back(missedEntrySentence(time, output, duration, kNotRunning));
            nextBellMoved_ = true;
        } else {
            pendingLines_.push_back(busyEntrySentence(time, output, duration));
            nextBellMoved_ = true;
        }
    }
}

void SchedulerTick::lookAtNonexistentSeconds(int from, int to) {
    if (state_.closedToday) {
        return;
    }
    const TodayTable& table = state_.today;
    for (const auto& [at, slot] : entriesDueBetween(table, from, to)) {
        if (firstNoteOf(slot, Fate::NotRung)) {
            pendingLines_.push_back(nonexistentEntrySentence(
                table.TodayTime[slot], table.TodayOutput[slot], table.TodayDuration[slot]));
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
        // The clock is read for every slot, so a second that begins during the scan is seen;
        // but not the next day's first second, which belongs to the next day's table.
        if (!sameText(clock_.clockText(), table.TodayTime[slot]) ||
            table.TodayTime[slot] < captions_.LblHeure) {
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
        if (std::string held =
                heldEntrySentence(table.TodayTime[slot], output, table.TodayDuration[slot]);
            !held.empty()) {
            if (!alreadyNoted(slot)) {
                pendingLines_.push_back(std::move(held));
            }
            continue;
        }
        const Ring ring = ringing(entryKey(slot), clock_.monotonicSeconds());
        if (ring == Ring::Never || (ring == Ring::Repeat && !repeatFits())) {
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
        if (std::string held = heldEntrySentence(entry.time, entry.output, entry.duration);
            !held.empty()) {
            pendingLines_.push_back(std::move(held));
            continue;
        }
        if (ringing(entry.key, clock_.monotonicSeconds()) == Ring::Never) {
            continue;
        }
        dueLate[entry.output] = &entry;
        state_.OutputStartTime[entry.output] = clock_.secondsSinceMidnight();
        state_.outputStartMonotonic[entry.output] = clock_.monotonicSeconds();
        captions_.LblMaxi[entry.output - 1] = std::to_string(entry.duration);
    }
    if (state_.ScanSlot > TodayTable::kSlots &&
        std::none_of(dueLate.begin(), dueLate.end(), [](const LateEntry* e) { return e; })) {
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
        if (!result.acted || (output <= result.relays && !result.written[output - 1])) {
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

std::string SchedulerTick::entryKey(int slot) const {
    const LocalDate date = state_.tableDate.value_or(LocalDate{});
    return isoDateText(date) + " " + state_.today.TodayTime[slot] + " " +
           std::to_string(state_.today.TodayOutput[slot]);
}

SchedulerTick::Ring SchedulerTick::ringing(const std::string& key, double monotonic) {
    const auto [record, added] = entries_.try_emplace(key, EntryRecord{Fate::Rang, monotonic});
    if (added || record->second.fate != Fate::Rang) {
        // An entry noted as not rung that comes round again (a clock set back) rings after all.
        record->second = EntryRecord{Fate::Rang, monotonic};
        return Ring::First;
    }
    // The ticks of the entry's own second switch it on again, as a failed command is resent.
    return monotonic - record->second.rangAt <= kOwnSecondSeconds ? Ring::Repeat : Ring::Never;
}

bool SchedulerTick::firstNoteOf(int slot, Fate fate) {
    return entries_.try_emplace(entryKey(slot), EntryRecord{fate, 0}).second;
}

int SchedulerTick::missedToday() {
    const std::string today = isoDateText(clock_.localDate()) + " ";
    int missed = 0;
    for (auto it = entries_.lower_bound(today);
         it != entries_.end() && it->first.starts_with(today); ++it) {
        missed += it->second.fate == Fate::Missed ? 1 : 0;
    }
    return missed;
}

void SchedulerTick::clockJumped(const Look& last, const Look& now, double jump, double slept) {
    pendingLines_.push_back(clockJumpSentence(jump));
    if (jump <= 0) {
        return;
    }
    // The day's entries from the second after the last tick, or from midnight for a new day.
    const int from = last.date == now.date ? last.second + 1 : 0;
    for (std::string& line :
         missedEntries(from, now.second - 1,
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
    if (state_.closedToday || from > to) {
        return lines;
    }
    const TodayTable& table = state_.today;
    for (const auto& [at, slot] : entriesDueBetween(table, from, to)) {
        // An entry that rang, or was listed already, is not missed (again).
        if (firstNoteOf(slot, Fate::Missed)) {
            lines.push_back(missedEntrySentence(table.TodayTime[slot], table.TodayOutput[slot],
                                                table.TodayDuration[slot], why));
        }
    }
    nextBellMoved_ |= !lines.empty();
    return lines;
}

bool SchedulerTick::repeatFits() {
    const double now = clock_.secondsSinceMidnight();
    return now - std::floor(now) + outputs_.switchSeconds() <= kRepeatsOverInSecond;
}

bool SchedulerTick::alreadyNoted(int slot) {
    // The date of the table, not of the clock: the relay pauses of a repeat may end past
    // midnight.
    std::string second =
        isoDateText(state_.tableDate.value_or(LocalDate{})) + " " + state_.today.TodayTime[slot];
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

std::string SchedulerTick::heldEntrySentence(const std::string& time, int output,
                                             int32_t duration) const {
    if (state_.signal && state_.signal->signal.drives(output)) {
        return signalHeldEntrySentence(time, output, duration, state_.signal->signal.name);
    }
    return state_.suspended ? suspendedEntrySentence(time, output, duration) : std::string();
}

void SchedulerTick::startSignal(const Signal& signal, const std::string& askedBy) {
    stopSignal(askedBy);
    state_.signal = SchedulerState::RunningSignal{signal, std::nullopt};
    std::string outputs;
    for (int output : signal.outputs) {
        outputs += outputs.empty() ? "S" : "+S";
        outputs += std::to_string(output);
    }
    journal_.note(signalStartSentence(signal.name, outputs, askedBy));
    showNextBell();
}

bool SchedulerTick::stopSignal(const std::string& askedBy) {
    if (!state_.signal) {
        return false;
    }
    const Signal signal = std::move(state_.signal->signal);
    state_.signal.reset();
    std::array<int16_t, kOutputCount + 1> flags = state_.OutputState;
    for (int output : signal.outputs) {
        flags[output] = kOff;
    }
    if (flags != state_.OutputState) {
        outputs_.SetOutputs(flags[1], flags[2], flags[3], flags[4]);
    }
    journal_.note(signalStopSentence(signal.name, askedBy));
    showNextBell();
    return true;
}

void SchedulerTick::driveSignal(double monotonic) {
    if (!state_.signal) {
        return;
    }
    SchedulerState::RunningSignal& running = *state_.signal;
    if (!running.startedAt) {
        running.startedAt = monotonic;
    }
    const double elapsed = monotonic - *running.startedAt;
    const bool on = running.signal.onAt(elapsed);
    std::array<int16_t, kOutputCount + 1> flags = state_.OutputState;
    for (int output : running.signal.outputs) {
        flags[output] = on ? kOn : kOff;
        if (on && state_.OutputState[output] != kOn) {
            state_.outputStartMonotonic[output] = monotonic;
        }
    }
    const bool over = running.signal.overAt(elapsed);
    const std::string name = running.signal.name;
    if (over) {
        state_.signal.reset();
    }
    if (flags != state_.OutputState) {
        // Inside its yields, the signal may have been stopped or replaced: this call still
        // sends the state chosen for this tick, which the next tick corrects.
        outputs_.SetOutputs(flags[1], flags[2], flags[3], flags[4]);
        view_.redraw(ViewPart::Outputs);
    }
    if (over) {
        pendingLines_.push_back(signalEndSentence(name));
        nextBellMoved_ = true;
    }
}

void SchedulerTick::setSuspended(bool suspended, const std::string& askedBy) {
    if (state_.suspended == suspended) {
        return;
    }
    state_.suspended = suspended;
    journal_.note(suspended ? suspendSentence(askedBy) : resumeSentence(askedBy));
    showNextBell();
}

void SchedulerTick::updateOutputsThatAreOn() {
    for (int k = 1; k <= kOutputCount; ++k) {
        // Read afresh for each output: switching an earlier one may have run other handlers. A
        // signal's outputs follow its pattern, not a duration.
        if (state_.OutputState[k] != kOn || (state_.signal && state_.signal->signal.drives(k))) {
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
    if (second < kSecondsPerDay - 60) {
        return;
    }
    const LocalDate tomorrow = addDays(date, 1);
    bool prepared = state_.nextDay && state_.nextDay->date == tomorrow;
    // A file saved during the last minute still counts at midnight: the files the next day
    // depends on are looked at (four stats, not read) at each tick, and read again when one
    // changed.
    if (prepared && nextDayFilesChanged()) {
        reloadDatedPeriodsIfChanged(state_, files_, paths_, journal_);
        reloadClosedPeriodsIfChanged(state_, files_, paths_.ClosedPeriodsPath, date, journal_);
        prepared = false;
    }
    if (!prepared) {
        prepareDay(state_, files_, paths_, tomorrow, journal_);
    }
}

bool SchedulerTick::nextDayFilesChanged() {
    return files_.stamp(paths_.TimetableNamesPath) != state_.timetableNamesStamp ||
           files_.stamp(paths_.DatedPeriodsPath) != state_.datedPeriodsStamp ||
           files_.stamp(paths_.ClosedPeriodsPath) != state_.closedPeriodsStamp ||
           files_.stamp(dayFilePath(paths_.DayFilePrefix, state_.nextDay->day)) !=
               state_.nextDay->stamp;
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
