#include "relay/outputs.h"

#include "relay/status_text.h"

namespace quorel {

namespace {

// The module's relays need this gap between two commands.
constexpr double kPauseAfterByte = 0.15;

uint8_t relayByte(int relay, bool on) {
    if (relay == 1) {
        return on ? kRelay1On : kRelay1Off;
    }
    return on ? kRelay2On : kRelay2Off;
}

} // namespace

Outputs::Outputs(SchedulerState& state, RelayPanel& panel, SerialLink& link, EventPump& pump,
                 Clock& clock, Timer& timer, View& view)
    : state_(state), panel_(panel), link_(link), pump_(pump), clock_(clock), timer_(timer),
      view_(view) {}

void Outputs::SetOutputs(int16_t o1, int16_t o2, int16_t o3, int16_t o4) {
    if (!timer_.isEnabled()) {
        return;
    }
    state_.OutputState[1] = o1;
    state_.OutputState[2] = o2;
    state_.OutputState[3] = o3;
    state_.OutputState[4] = o4;
    for (int relay = 1; relay <= 2; ++relay) {
        // Read from OutputState, not the arguments: a call made inside the previous yield has
        // replaced the flags, and the relays must end up matching them.
        const bool on = state_.OutputState[relay] == kOn;
        panel_.LedOut[relay - 1] = on ? kLedOnColour : kLedOffColour;
        view_.redraw(ViewPart::Outputs);
        const SerialError error = link_.writeByte(relayByte(relay, on));
        if (error != SerialError::None) {
            panel_.InfoERR = errorStatusText(static_cast<int>(error));
            view_.redraw(ViewPart::Status);
        }
        pump_.yield();
        clock_.pause(kPauseAfterByte);
    }
}

} // namespace quorel
