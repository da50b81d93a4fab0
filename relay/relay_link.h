#pragma once

#include "core/journal.h"
#include "core/view.h"
#include "platform/clock.h"
#include "platform/serial_link.h"
#include "relay/module_queries.h"
#include "relay/relay_panel.h"
#include "schedule/scheduler_state.h"

#include "core/module_size.h"
#include <array>
#include <cstdint>
#include <optional>

namespace quorel {

// The relay commands on their way to the module. For each relay it remembers the state last
// commanded and whether that command reached the module, so that a command lost to a USB glitch
// or an unplugged module is sent again until it is written: a switch-off that fails must not
// leave a bell ringing until the next morning. It also keeps the status line truthful: an error
// as soon as a command fails or the device goes away, "Init ... Ok" again once commands go
// through. The journal is told when commands start failing and when they go through again.
//
// Each time a device is opened, the module is asked who it is (0x5A) and the relays' commands
// wait for its answer, or for the end of the wait. A module that answered is asked for its
// relays' states (0x5B) after each switch, once a second while a relay is on, once a minute
// otherwise (at second 30): a relay found in another state than commanded is commanded again
// (error 8032), a module that stops answering is reported (8033) and still commanded. A device
// that did not answer is driven without queries until it is opened again.
//
// Relays 1 and 2 are driven on any module; relays 3 and 4 only once the module answered as a
// board with more relays (panel.moduleRelays). Until then their commands are only remembered,
// and sent once such a board answers.
class RelayLink {
  public:
    RelayLink(SerialLink& link, Clock& clock, const SchedulerState& state, RelayPanel& panel,
              View& view, Journal& journal);

    // A command of SetOutputs for relay 1 to 4: it becomes the relay's state, sent again at later
    // ticks until it is written. A relay the module does not have yet is only remembered (None).
    [[nodiscard]] SerialError command(int relay, bool on);
    // Whether the module answered as having this relay: relays 1 and 2 always.
    bool drives(int relay) const { return relay <= panel_.moduleRelays; }
    // A test button's command: remembered only once written, since a button whose byte failed
    // goes back to showing the relay as it was.
    [[nodiscard]] SerialError test(int relay, bool on);

    // The port has just been opened: the relays are to be set as the output flags say, whatever
    // a crash or a power cut left them in. The next keepInStep() sends them.
    void portOpened();
    // Runs at every tick: opens a device that went away again, looks at the module's answer,
    // sends each relay whose state has not been written, 0.15 s apart, then asks the module
    // what is due.
    void keepInStep();

    // Sends the off byte, 0.15 s apart, to each driven relay not known to be off. For the shut-down
    // and "Désactivé", before the port closes; a byte that cannot leave is given up after
    // kSwitchOffDeadline, so that the shut-down keeps its bound.
    void switchOffAll();

    bool portOpen() const { return link_.isOpen(); }

  private:
    struct Relay {
        bool on = false;
        bool written = true;
    };
    // What is known of the device opened last.
    enum class Module { Unasked, Asking, Answered, Silent };

    [[nodiscard]] SerialError send(int relay, bool on, double deadline = kByteDeadline);
    void noteReopenedDevice();
    void lookAtAnswer();
    void identified(const std::optional<std::vector<uint8_t>>& answer);
    void statesFound(const std::optional<std::vector<uint8_t>>& answer);
    void askWhatIsDue();
    void report(SerialError error);
    // Puts an error (errorNumber not 0) or another status on the status line; false when it
    // showed that already.
    bool showStatus(int errorNumber, const std::string& text = {});

    SerialLink& link_;
    Clock& clock_;
    const SchedulerState& state_;
    RelayPanel& panel_;
    View& view_;
    Journal& journal_;
    std::array<Relay, kMaxRelayCount> relays_{};
    uint32_t seenOpenings_ = 0;
    ModuleQueries queries_;
    Module module_ = Module::Unasked;
    uint32_t askedOpening_ = 0; // the opening whose device was asked who it is
    // The relays as commanded when their states were asked; a switch is confirmed by the next
    // question.
    std::array<Relay, kMaxRelayCount> askedFor_{};
    bool confirmationOwed_ = false;
    int lastSecondAsked_ = -1;
    int lastMinuteAsked_ = -1;
    bool relayMismatch_ = false; // 8032 shown: only a matching answer ends it
    // Since when (monotonic seconds) each relay has been found otherwise than commanded, and the
    // second it was last commanded again for that.
    std::array<std::optional<double>, kMaxRelayCount> disagreeingSince_{};
    std::array<int, kMaxRelayCount> recommandedSecond_{-1, -1, -1, -1};
    bool notAnswering_ = false; // 8033 shown
    // The status line shows a failure of the relay commands (not of the port choice).
    bool showingFailure_ = false;
};

// The module's relays need this gap between two commands.
inline constexpr double kPauseAfterRelayByte = 0.15;
// A relay found otherwise than commanded for this long is stuck: it is commanded again once a
// second, not at every tick.
inline constexpr double kStuckRelaySeconds = 5;
// How long a switch-off byte may wait at a shut-down: every driven relay is off, or given up,
// within 0.25 + 0.15 s each (1.6 s for four).
inline constexpr double kSwitchOffDeadline = 0.25;

} // namespace quorel
