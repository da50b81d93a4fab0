#include "schedule/scheduler_tick.h"

#include "schedule/calendar_date.h"
#include "schedule/format_elapsed.h"
#include "schedule/journal_sentences.h"
#include "schedule/number_text.h"
#include "schedule/today_reload.h"
#include "schedule/weekday.h"

#include <algorithm>
#include <string>

namespace quorel {

namespace {

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
    return output >= 1 && output <= 4;
}

} // namespace

SchedulerTick::SchedulerTick(SchedulerState& state, SchedulerCaptions& captions, Clock& clock,
                             EventPump& pump, View& view, const ProgramPaths& paths,
                             OutputSwitch& outputs, Journal& journal)
    : state_(state), captions_(captions), clock_(clock), pump_(pump), view_(view), paths_(paths),
      outputs_(outputs), journal_(journal) {}

void SchedulerTick::TimerSat_Timer() {
    // A tick raised inside one of this tick's yields would rescan and switch again in the middle
    // of a relay command; it is dropped instead.
    if (running_) {
        return;
    }
    RunningMark mark(running_);

    std::string now = clock_.clockText();
    if (now != captions_.LblHeure) {
        captions_.LblHeure = std::move(now);
        view_.redraw(ViewPart::Clock);
    }
    // Looking at the files at every second 00 picks up a saved timetable or list of days without
    // bells within a minute, and the new day's timetable and closure at midnight, before the scan.
    bool nextBellMoved = false;
    if (clock_.secondsFieldText() == "00") {
        const LocalDate today = clock_.localDate();
        if (day_ != today) {
            day_ = today;
            if (onNewDay) {
                onNewDay(today);
            }
        }
        nextBellMoved =
            reloadTodayTableIfChanged(state_, paths_.DayFilePrefix,
                                      static_cast<int16_t>(CurrentWeekday(clock_) - 1), journal_);
        nextBellMoved |= reloadClosedPeriodsIfChanged(state_, paths_.ClosedPeriodsPath, today);
    }
    scanForDueEntries();
    // An entry that fired, or one announced whose time went by unrung, moves the sign on.
    const std::string& announced = captions_.LblProchaine.time;
    if (nextBellMoved || state_.ScanSlot <= TodayTable::kSlots ||
        (!announced.empty() && announced < captions_.LblHeure)) {
        showNextBell();
    }
    updateOutputsThatAreOn();
    outputs_.keepRelaysInStep();
    pump_.yield();
}

void SchedulerTick::showNextBell() {
    const ClosedPeriod* closed = state_.closedToday ? &*state_.closedToday : nullptr;
    captions_.LblProchaine = nextBellSign(state_.today, clock_.clockText(), closed);
    view_.redraw(ViewPart::NextBell);
}

void SchedulerTick::scanForDueEntries() {
    const TodayTable& table = state_.today;
    std::array<int, 5> dueSlot{}; // the slot that switches each output on; 0 for none
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
            if (firstNoteOf(slot)) {
                journal_.note(silencedEntrySentence(table.TodayTime[slot], output,
                                                    table.TodayDuration[slot],
                                                    state_.closedToday->label));
            }
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
    if (state_.ScanSlot > TodayTable::kSlots) {
        return;
    }
    view_.redraw(ViewPart::Outputs);
    // One call for all of them: the relay bytes go out once, for the combined state.
    std::array<int16_t, 5> flags = state_.OutputState;
    std::vector<std::string> lines;
    for (int output = 1; output <= 4; ++output) {
        const int slot = dueSlot[output];
        if (slot == 0) {
            continue;
        }
        flags[output] = kOn;
        if (firstNoteOf(slot)) {
            lines.push_back(
                outputOnSentence(output, table.TodayTime[slot], table.TodayDuration[slot]));
        }
    }
    outputs_.SetOutputs(flags[1], flags[2], flags[3], flags[4]);
    // Written once the relay bytes are out: the journal never makes a bell late.
    for (const std::string& line : lines) {
        journal_.note(line);
    }
}

bool SchedulerTick::firstNoteOf(int slot) {
    std::string second = isoDateText(clock_.localDate()) + " " + state_.today.TodayTime[slot];
    if (second != notedSecond_) {
        notedSecond_ = std::move(second);
        notedSlots_.clear();
    }
    if (std::find(notedSlots_.begin(), notedSlots_.end(), slot) != notedSlots_.end()) {
        return false;
    }
    notedSlots_.push_back(slot);
    return true;
}

void SchedulerTick::updateOutputsThatAreOn() {
    for (int k = 1; k <= 4; ++k) {
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
            std::array<int16_t, 5> flags = state_.OutputState;
            flags[k] = kOff;
            outputs_.SetOutputs(flags[1], flags[2], flags[3], flags[4]);
            journal_.note(outputOffSentence(k));
        }
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
