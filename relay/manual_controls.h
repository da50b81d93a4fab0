#pragma once

#include "core/journal.h"
#include "core/view.h"
#include "platform/event_pump.h"
#include "relay/outputs.h"
#include "relay/relay_link.h"
#include "relay/relay_panel.h"

#include <cstdint>

namespace quorel {

// The relay test buttons "Relais 1" and "Relais 2" and the output switches "S1" to "S4". The
// journal is told of each switch they make.
class ManualControls {
  public:
    ManualControls(RelayPanel& panel, RelayLink& relays, EventPump& pump, View& view,
                   Outputs& outputs, Journal& journal);

    // Toggles relay index + 1 directly on the open port; what the button shows is its memory.
    void CmdRelais_Click(int16_t index);

    // The window stores the box's new state before raising the click.
    void setCheckS(int16_t index, CheckState value);
    // Hands the state of all four switches to SetOutputs.
    void CheckS_Click(int16_t index);

  private:
    RelayPanel& panel_;
    RelayLink& relays_;
    EventPump& pump_;
    View& view_;
    Outputs& outputs_;
    Journal& journal_;
};

} // namespace quorel
