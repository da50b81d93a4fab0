#pragma once

#include "core/view.h"
#include "platform/clock.h"
#include "platform/event_pump.h"
#include "platform/timer.h"
#include "relay/relay_link.h"
#include "relay/relay_panel.h"
#include "schedule/output_switch.h"
#include "schedule/scheduler_state.h"

#include <cstdint>

namespace quorel {

// The one operation that changes the output flags and sends relay commands.
class Outputs final : public OutputSwitch {
  public:
    Outputs(SchedulerState& state, RelayPanel& panel, RelayLink& relays, EventPump& pump,
            Clock& clock, Timer& timer, View& view);

    // Does nothing while TimerSat is disabled. Otherwise stores the four flags (-1 = on), and for
    // each output with a relay (1 and 2; 3 and 4 too on a board with more relays), in order,
    // paints its LedOut and sends its relay's byte, followed by a yield to the event loop and a
    // 0.15 s pause. A byte that cannot be written shows its error on the status line and is sent
    // again by keepRelaysInStep(); the call still returns normally. When the scheduler is stopped
    // inside a yield ("Désactivé", the shut-down), no further byte goes.
    SwitchResult SetOutputs(int16_t o1, int16_t o2, int16_t o3, int16_t o4) override;
    void keepRelaysInStep() override { relays_.keepInStep(); }
    double switchSeconds() const override { return panel_.moduleRelays * kPauseAfterRelayByte; }
    // Whether SetOutputs switches anything: only while the scheduler runs.
    bool inService() const { return timer_.isEnabled(); }

  private:
    SchedulerState& state_;
    RelayPanel& panel_;
    RelayLink& relays_;
    EventPump& pump_;
    Clock& clock_;
    Timer& timer_;
    View& view_;
};

} // namespace quorel
