#pragma once

#include "core/journal.h"
#include "core/view.h"
#include "platform/serial_link.h"
#include "platform/timer.h"
#include "relay/relay_link.h"
#include "relay/relay_panel.h"

#include <cstdint>
#include <functional>
#include <optional>

namespace quorel {

// The choice of serial port in the option group PortCom: opens or closes the port, starts or
// stops TimerSat and reports the outcome on the status line InfoERR. While a COM option is
// chosen and its port cannot be opened (a module plugged in after the start), TimerPort tries
// again every 5 seconds. The journal is told of each choice and its outcome, and of a retry that
// opens the port (not of those that fail, every 5 seconds).
class PortChoice {
  public:
    PortChoice(RelayPanel& panel, SerialLink& link, RelayLink& relays, Timer& timer,
               Timer& retryTimer, View& view, Journal& journal);

    // Runs after the option group has moved its selection to index (0 to 4), for an operator's
    // click and for the option restored at start-up alike.
    void PortCom_Click(int16_t index);

    // Selects option index and runs the choice, as a click on that option does.
    void select(int16_t index);

    // The device of the option in use changed: its relays are switched off on the old device,
    // and the option is chosen again, so that it opens the new one.
    void deviceChanged();

    // TimerPort's expiry: the chosen port is tried again, as if the operator chose it now.
    void TimerPort_Timer();

    // Runs when TimerSat starts after it stood still.
    std::function<void()> onSchedulerStarted;

  private:
    // Runs the choice of option index, which must be one.
    void choose(int16_t index);
    // Opens the port of option index unless it is open on that number already; false when the
    // choice ends on an error.
    [[nodiscard]] bool openPortOf(int16_t index);

    RelayPanel& panel_;
    SerialLink& link_;
    RelayLink& relays_;
    Timer& timer_;
    Timer& retryTimer_;
    View& view_;
    Journal& journal_;
    // The number the port was opened with, while it is open.
    std::optional<int16_t> openPort_;
};

// TimerPort's interval.
inline constexpr int kPortRetryMilliseconds = 5000;

} // namespace quorel
