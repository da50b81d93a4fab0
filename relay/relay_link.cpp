#include "relay/relay_link.h"

#include "core/module_size.h"
#include "relay/relay_bytes.h"
#include "relay/status_text.h"
#include "schedule/journal_sentences.h"

namespace quorel {

RelayLink::RelayLink(SerialLink& link, Clock& clock, const SchedulerState& state, RelayPanel& panel,
                     View& view, Journal& journal)
    : link_(link), clock_(clock), state_(state), panel_(panel), view_(view), journal_(journal) {}

SerialError RelayLink::command(int relay, bool on) {
    relays_.at(relay - 1) = Relay{on, false};
    return send(relay, on);
}

SerialError RelayLink::test(int relay, bool on) {
    const SerialError error = link_.writeByte(relayByte(relay, on));
    noteReopenedDevice();
    if (error == SerialError::None) {
        relays_.at(relay - 1) = Relay{on, true};
    }
    report(error);
    return error;
}

void RelayLink::portOpened() {
    seenOpenings_ = link_.openings();
    for (int relay = 1; relay <= kRelayCount; ++relay) {
        relays_.at(relay - 1) = Relay{state_.OutputState[relay] == kOn, false};
    }
    showingFailure_ = false;
}

void RelayLink::keepInStep() {
    if (!link_.isOpen()) {
        return;
    }
    const SerialError lost = link_.reconnect();
    noteReopenedDevice();
    if (lost != SerialError::None) {
        report(lost);
        return;
    }
    for (int relay = 1; relay <= kRelayCount; ++relay) {
        const Relay& state = relays_.at(relay - 1);
        if (state.written) {
            continue;
        }
        if (send(relay, state.on) != SerialError::None) {
            return; // tried again at the next tick
        }
        clock_.pause(kPauseAfterRelayByte);
    }
    report(SerialError::None);
}

void RelayLink::switchOffAll() {
    if (!link_.isOpen()) {
        return;
    }
    for (int relay = 1; relay <= kRelayCount; ++relay) {
        Relay& state = relays_.at(relay - 1);
        // A relay whose last command never arrived may be on as well.
        if (!state.on && state.written) {
            continue;
        }
        state = Relay{false, false};
        // A failure is on the status line already; the port closes next, so nothing sends again.
        [[maybe_unused]] const SerialError shown = send(relay, false, kSwitchOffDeadline);
        clock_.pause(kPauseAfterRelayByte);
    }
}

SerialError RelayLink::send(int relay, bool on, double deadline) {
    const SerialError error = link_.writeByte(relayByte(relay, on), deadline);
    noteReopenedDevice();
    if (error == SerialError::None) {
        relays_.at(relay - 1).written = true;
    }
    report(error);
    return error;
}

void RelayLink::noteReopenedDevice() {
    if (link_.openings() == seenOpenings_) {
        return;
    }
    // A module that went away may come back with its relays reset: both are owed their state.
    seenOpenings_ = link_.openings();
    for (Relay& relay : relays_) {
        relay.written = false;
    }
}

void RelayLink::report(SerialError error) {
    if (error != SerialError::None) {
        showingFailure_ = true;
        // Noted as the status line turns to it, not again at each retry of the same failure.
        if (showStatus(static_cast<int>(error))) {
            journal_.note(relayFailureSentence(static_cast<int>(error)));
        }
        return;
    }
    const bool allWritten = relays_[0].written && relays_[1].written;
    if (showingFailure_ && allWritten && panel_.PortCom >= 1 &&
        panel_.PortCom < static_cast<int16_t>(kPortComCaptions.size())) {
        showingFailure_ = false;
        showStatus(0, inServiceStatusText(panel_.PortCom, panel_.Setting));
        journal_.note(relaysRestoredSentence(panel_.InfoERR));
    }
}

bool RelayLink::showStatus(int errorNumber, const std::string& text) {
    const std::string before = panel_.InfoERR;
    if (errorNumber != 0) {
        showErrorStatus(panel_, errorNumber);
    } else {
        showPlainStatus(panel_, text);
    }
    if (panel_.InfoERR == before) {
        return false;
    }
    view_.redraw(ViewPart::Status);
    return true;
}

} // namespace quorel
