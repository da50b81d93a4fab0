#include "relay/relay_link.h"

#include "core/module_size.h"
#include "relay/relay_bytes.h"
#include "relay/status_text.h"
#include "schedule/journal_sentences.h"

#include <algorithm>

namespace quorel {

RelayLink::RelayLink(SerialLink& link, Clock& clock, const SchedulerState& state, RelayPanel& panel,
                     View& view, Journal& journal)
    : link_(link), clock_(clock), state_(state), panel_(panel), view_(view), journal_(journal),
      queries_(link, clock) {}

SerialError RelayLink::command(int relay, bool on) {
    relays_.at(relay - 1) = Relay{on, false};
    return drives(relay) ? send(relay, on) : SerialError::None;
}

SerialError RelayLink::test(int relay, bool on) {
    const SerialError error = link_.writeByte(relayByte(relay, on));
    noteReopenedDevice();
    if (error == SerialError::None) {
        relays_.at(relay - 1) = Relay{on, true};
        confirmationOwed_ = true;
    }
    report(error);
    return error;
}

void RelayLink::portOpened() {
    seenOpenings_ = link_.openings();
    askedOpening_ = 0; // asked at the next look, whichever device this is
    queries_.forget();
    relayMismatch_ = notAnswering_ = false;
    disagreeingSince_ = {};
    panel_.moduleNote.clear();
    setModuleRelays(panel_, kRelayCount, view_);
    for (int relay = 1; relay <= kMaxRelayCount; ++relay) {
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
    lookAtAnswer();
    if (askedOpening_ != link_.openings()) {
        // A device just opened: who it is, before the relays are set; relays 3 and 4 wait for
        // an answer that says it has them.
        askedOpening_ = link_.openings();
        setModuleRelays(panel_, kRelayCount, view_);
        module_ = queries_.ask(ModuleQueries::Query::Version) ? Module::Asking : Module::Silent;
        lookAtAnswer(); // a module may have answered already
    }
    if (module_ == Module::Asking) {
        return;
    }
    for (int relay = 1; relay <= panel_.moduleRelays; ++relay) {
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
    askWhatIsDue();
}

void RelayLink::switchOffAll() {
    if (!link_.isOpen()) {
        return;
    }
    for (int relay = 1; relay <= panel_.moduleRelays; ++relay) {
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
        confirmationOwed_ = true;
    }
    report(error);
    return error;
}

void RelayLink::noteReopenedDevice() {
    if (link_.openings() == seenOpenings_) {
        return;
    }
    // A module that went away may come back with its relays reset: all are owed their state.
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
    bool allWritten = true;
    for (int relay = 1; relay <= panel_.moduleRelays; ++relay) {
        allWritten = allWritten && relays_.at(relay - 1).written;
    }
    if (showingFailure_ && allWritten && !relayMismatch_ && !notAnswering_ && panel_.PortCom >= 1 &&
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

void RelayLink::lookAtAnswer() {
    const std::optional<ModuleQueries::Outcome> outcome = queries_.look();
    if (!outcome) {
        return;
    }
    if (outcome->query == ModuleQueries::Query::Version) {
        identified(outcome->answer);
    } else {
        statesFound(outcome->answer);
    }
}

void RelayLink::identified(const std::optional<std::vector<uint8_t>>& answer) {
    if (!answer) {
        module_ = Module::Silent;
        panel_.moduleNote = kModuleSilentNote;
    } else {
        module_ = Module::Answered;
        panel_.moduleNote = moduleDescription((*answer)[0], (*answer)[1]);
        // Any other device that answers is driven as a USB-RLY02.
        setModuleRelays(panel_, std::max(kRelayCount, drivenRelays((*answer)[0])), view_);
    }
    journal_.note(panel_.moduleNote);
    view_.redraw(ViewPart::Status);
}

void RelayLink::statesFound(const std::optional<std::vector<uint8_t>>& answer) {
    // Only the bits of the driven relays can be set (Quorel leaves a bigger board's others off):
    // anything else (an echo of the query) is no answer.
    if (!answer || ((*answer)[0] >> panel_.moduleRelays) != 0) {
        if (!notAnswering_) {
            notAnswering_ = showingFailure_ = true;
            showStatus(kModuleNotAnswering);
            journal_.note(moduleNotAnsweringSentence());
        }
        return;
    }
    const uint8_t found = (*answer)[0];
    const int second = static_cast<int>(clock_.secondsSinceMidnight());
    std::string differences;
    for (int relay = 1; relay <= kMaxRelayCount; ++relay) {
        const Relay& asked = askedFor_.at(relay - 1);
        const bool on = (found & (1 << (relay - 1))) != 0;
        std::optional<double>& since = disagreeingSince_.at(relay - 1);
        if (!drives(relay) || !asked.written || on == asked.on) {
            since.reset();
            continue;
        }
        differences += (differences.empty() ? "" : " ; ") + relayFoundSentence(relay, on);
        if (!since) {
            since = clock_.monotonicSeconds();
        }
        // A relay that does not follow after a while is stuck: once a second is enough.
        const bool stuck = clock_.monotonicSeconds() - *since >= kStuckRelaySeconds;
        int& lastSecond = recommandedSecond_.at(relay - 1);
        Relay& now = relays_.at(relay - 1);
        if (now.on == asked.on && (!stuck || lastSecond != second)) {
            now.written = false; // commanded again at the next tick
            lastSecond = second;
        }
    }
    const bool wasFailing = relayMismatch_ || notAnswering_;
    notAnswering_ = false;
    if (!differences.empty()) {
        relayMismatch_ = showingFailure_ = true;
        const bool detailChanged = panel_.foundStates != differences;
        panel_.foundStates = differences;
        if (showStatus(kRelayStateMismatch) || detailChanged) {
            journal_.note(differences);
        }
        view_.redraw(ViewPart::Status);
        return;
    }
    relayMismatch_ = false;
    if (wasFailing) {
        report(SerialError::None);
    }
}

// After a switch at once; while a relay is on at the first tick of each second, so that a bell
// cut short is caught within a second and rings again at the tick after; otherwise once a
// minute, at second 30, away from the entries of second 00.
void RelayLink::askWhatIsDue() {
    if (module_ != Module::Answered || queries_.awaiting()) {
        return;
    }
    const int second = static_cast<int>(clock_.secondsSinceMidnight());
    bool relayOn = false;
    for (int relay = 1; relay <= panel_.moduleRelays; ++relay) {
        relayOn = relayOn || relays_.at(relay - 1).on;
    }
    // A relay found otherwise is looked at once a second until it follows, even when off.
    const bool due = confirmationOwed_ ||
                     ((relayOn || relayMismatch_) && second != lastSecondAsked_) ||
                     (!relayOn && second % 60 == 30 && second / 60 != lastMinuteAsked_);
    if (!due) {
        return;
    }
    askedFor_ = relays_;
    confirmationOwed_ = false;
    lastSecondAsked_ = second;
    lastMinuteAsked_ = second / 60;
    if (!queries_.ask(ModuleQueries::Query::RelayStates)) {
        confirmationOwed_ = true; // the failure is on the status line; asked again next time
        return;
    }
    lookAtAnswer();
}

} // namespace quorel
