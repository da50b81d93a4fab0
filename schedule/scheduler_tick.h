#pragma once

#include "platform/clock.h"
#include "platform/event_pump.h"
#include "schedule/output_switch.h"
#include "schedule/program_paths.h"
#include "schedule/scheduler_state.h"
#include "ui/view.h"

namespace quorel {

// The scheduler's tick, raised by TimerSat every 200 ms while a port is in use: shows the clock,
// reloads today's timetable and the days without bells at second 00 when their files changed,
// switches on the outputs of every entry due at this second (none on a day without bells), shows
// for how long each output has been on, switches it off once its duration has run out, and sends
// again the relay commands that did not reach the module.
class SchedulerTick {
  public:
    SchedulerTick(SchedulerState& state, SchedulerCaptions& captions, Clock& clock, EventPump& pump,
                  View& view, const ProgramPaths& paths, OutputSwitch& outputs);

    // A tick that arrives while an earlier one is still running (inside one of its yields) is
    // skipped, not queued.
    void TimerSat_Timer();

    // Works out again what LblProchaine announces, from today's table and the days without bells.
    void showNextBell();

  private:
    void scanForDueEntries();
    void updateOutputsThatAreOn();
    double elapsedSeconds(int output);

    SchedulerState& state_;
    SchedulerCaptions& captions_;
    Clock& clock_;
    EventPump& pump_;
    View& view_;
    const ProgramPaths& paths_;
    OutputSwitch& outputs_;
    bool running_ = false;
};

} // namespace quorel
