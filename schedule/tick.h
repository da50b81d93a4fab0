#pragma once

#include "platform/clock.h"
#include "platform/event_pump.h"
#include "platform/view.h"
#include "schedule/program_paths.h"
#include "schedule/scheduler_state.h"

#include <cstdint>
#include <functional>

namespace quorel {

// The scheduler's tick, raised by TimerSat every 200 ms while a port is in use: shows the clock,
// reloads today's timetable at second 00, switches on the output of the entry due at this
// second, shows for how long each output has been on and switches it off once its duration has
// run out.
class SchedulerTick {
  public:
    using SetOutputsFunction = std::function<void(int16_t, int16_t, int16_t, int16_t)>;

    SchedulerTick(SchedulerState& state, SchedulerCaptions& captions, Clock& clock, EventPump& pump,
                  View& view, const ProgramPaths& paths, SetOutputsFunction setOutputs);

    // A tick that arrives while an earlier one is still running (inside one of its yields) is
    // skipped, not queued.
    void TimerSat_Timer();

  private:
    void scanForDueEntry();
    void updateOutputsThatAreOn();
    double elapsedSeconds(int output);

    SchedulerState& state_;
    SchedulerCaptions& captions_;
    Clock& clock_;
    EventPump& pump_;
    View& view_;
    const ProgramPaths& paths_;
    SetOutputsFunction setOutputs_;
    bool running_ = false;
};

} // namespace quorel
