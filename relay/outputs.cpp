#include "relay/outputs.h"

#include <utility>

namespace quorel {

Outputs::Outputs(SchedulerState& state, RelayPanel& panel, RelayLink& relays, EventPump& pump,
                 Clock& clock, Timer& timer, View& view)
    : state_(state), panel_(panel), relays_(relays), pump_(pump), clock_(clock), timer_(timer),
      view_(view) {}

SwitchResult Outputs::SetOutputs(int16_t o1, int16_t o2, int16_t o3, int16_t o4) {
    SwitchResult result;
    if (!inService()) {
        return result;
    }
    result.acted = true;
    result.relays = panel_.moduleRelays;
    state_.OutputState[1] = o1;
    state_.OutputState[2] = o2;
    state_.OutputState[3] = o3;
    state_.OutputState[4] = o4;
    for (int relay = 1; relay <= kMaxRelayCount; ++relay) {
        // The port was closed inside the previous yield, its relays switched off: a byte now
        // would be an error, or would switch a relay on again after the program has ended.
        if (!inService()) {
            break;
        }
        // Read from OutputState, not the arguments: a call made inside the previous yield has
        // replaced the flags, and the relays must end up matching them.
        const bool on = state_.OutputState[relay] == kOn;
        if (!relays_.drives(relay)) {
            // Output 3 or 4 without a relay: remembered for a board with more relays; its
            // indicator shows off, as no relay follows it.
            [[maybe_unused]] const SerialError none = relays_.command(relay, on);
            if (std::exchange(panel_.LedOut[relay - 1], Indicator::Off) != Indicator::Off) {
                view_.redraw(ViewPart::Outputs);
            }
            continue;
        }
        panel_.LedOut[relay - 1] = on ? Indicator::On : Indicator::Off;
        view_.redraw(ViewPart::Outputs);
        // A failure is on the status line already, and keepInStep() sends the byte again.
        result.written[relay - 1] = relays_.command(relay, on) == SerialError::None;
        pump_.yield();
        clock_.pause(kPauseAfterRelayByte);
    }
    return result;
}

} // namespace quorel
