#pragma once

#include "platform/clock.h"
#include "platform/event_pump.h"
#include "schedule/journal.h"
#include "schedule/output_switch.h"
#include "schedule/program_paths.h"
#include "schedule/scheduler_state.h"
#include "ui/view.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace quorel {

// The scheduler's tick, raised by TimerSat every 200 ms while a port is in use: shows the clock,
// reloads today's timetable and the days without bells at second 00 when their files changed,
// switches on the outputs of every entry due at this second (none on a day without bells), shows
// for how long each output has been on, switches it off once its duration has run out, and sends
// again the relay commands that did not reach the module. The journal is told of each switch and
// of each entry that a day without bells kept silent.
class SchedulerTick {
  public:
    SchedulerTick(SchedulerState& state, SchedulerCaptions& captions, Clock& clock, EventPump& pump,
                  View& view, const ProgramPaths& paths, OutputSwitch& outputs, Journal& journal);

    // A tick that arrives while an earlier one is still running (inside one of its yields) is
    // skipped, not queued.
    void TimerSat_Timer();

    // Works out again what LblProchaine announces, from today's table and the days without bells.
    void showNextBell();

    // Runs at a tick of second 00 that sees a date it has not seen before, with that date.
    std::function<void(const LocalDate&)> onNewDay;

  private:
    void scanForDueEntries();
    void updateOutputsThatAreOn();
    double elapsedSeconds(int output);
    // False when the entry of slot was noted already in the second it is due: the ticks that
    // repeat a switch-on within its second add no line.
    bool firstNoteOf(int slot);

    SchedulerState& state_;
    SchedulerCaptions& captions_;
    Clock& clock_;
    EventPump& pump_;
    View& view_;
    const ProgramPaths& paths_;
    OutputSwitch& outputs_;
    Journal& journal_;
    bool running_ = false;
    std::optional<LocalDate> day_;
    // The date and time of the entries noted last, and their slots.
    std::string notedSecond_;
    std::vector<int> notedSlots_;
};

} // namespace quorel
