#pragma once

#include "platform/serial_link.h"
#include "platform/timer.h"
#include "platform/view.h"
#include "relay/relay_panel.h"

#include <cstdint>
#include <optional>

namespace quorel {

// The choice of serial port in the option group PortCom: opens or closes the port, starts or
// stops TimerSat and reports the outcome on the status line InfoERR.
class PortChoice {
  public:
    PortChoice(RelayPanel& panel, SerialLink& link, Timer& timer, View& view);

    // Runs after the option group has moved its selection to index (0 to 4), for an operator's
    // click and for the option restored at start-up alike.
    void PortCom_Click(int16_t index);

    // Selects option index and runs the choice, as a click on that option does.
    void select(int16_t index);

  private:
    RelayPanel& panel_;
    SerialLink& link_;
    Timer& timer_;
    View& view_;
    // The number the port was opened with, while it is open.
    std::optional<int16_t> openPort_;
};

} // namespace quorel
