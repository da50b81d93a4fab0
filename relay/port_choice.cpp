#include "relay/port_choice.h"

#include "relay/status_text.h"
#include "schedule/journal_sentences.h"

#include <string>

namespace quorel {

namespace {

// Every failure is shown; only 8013 lets the operation carry on with its next step.
bool carriesOn(SerialError error, RelayPanel& panel, View& view) {
    if (error == SerialError::None) {
        return true;
    }
    showErrorStatus(panel, static_cast<int>(error));
    view.redraw(ViewPart::Status);
    return error == SerialError::LineNotApplied;
}

bool isOption(int16_t index) {
    return index >= 0 && index < static_cast<int16_t>(kPortComCaptions.size());
}

} // namespace

PortChoice::PortChoice(RelayPanel& panel, SerialLink& link, RelayLink& relays, Timer& timer,
                       Timer& retryTimer, View& view, Journal& journal)
    : panel_(panel), link_(link), relays_(relays), timer_(timer), retryTimer_(retryTimer),
      view_(view), journal_(journal) {}

void PortChoice::PortCom_Click(int16_t index) {
    if (!isOption(index)) {
        return;
    }
    choose(index);
    journal_.note(
        portChosenSentence(kPortComCaptions.at(static_cast<size_t>(index)), panel_.InfoERR));
}

void PortChoice::choose(int16_t index) {
    // "Désactivé" changes what LblProchaine announces.
    view_.redraw(ViewPart::NextBell);
    if (index == 0) {
        timer_.setEnabled(false);
        retryTimer_.setEnabled(false);
        // A bell ringing now must not ring on while nothing drives the module.
        relays_.switchOffAll();
        link_.close();
        openPort_.reset();
        showPlainStatus(panel_, kPortClosedStatus);
        view_.redraw(ViewPart::Status);
        return;
    }
    if (!openPortOf(index)) {
        retryTimer_.setEnabled(true);
        return;
    }
    retryTimer_.setEnabled(false);
    showPlainStatus(panel_, inServiceStatusText(index, panel_.Setting));
    view_.redraw(ViewPart::Status);
    const bool wasRunning = timer_.isEnabled();
    timer_.setEnabled(true);
    if (!wasRunning && onSchedulerStarted) {
        onSchedulerStarted();
    }
}

bool PortChoice::openPortOf(int16_t index) {
    // The status line names the chosen port, so a port open on another number is closed first.
    if (link_.isOpen() && openPort_ != index) {
        relays_.switchOffAll();
        link_.close();
        openPort_.reset();
    }
    if (link_.isOpen()) {
        return true;
    }
    if (!carriesOn(link_.setPortNumber(index), panel_, view_) ||
        !carriesOn(link_.setParameters(panel_.Setting), panel_, view_)) {
        return false;
    }
    const bool opened = carriesOn(link_.open(), panel_, view_);
    if (link_.isOpen()) {
        openPort_ = index;
        relays_.portOpened();
    }
    return opened;
}

void PortChoice::select(int16_t index) {
    if (!isOption(index)) {
        return;
    }
    panel_.PortCom = index;
    view_.redraw(ViewPart::PortChoice);
    PortCom_Click(index);
}

void PortChoice::deviceChanged() {
    if (!isOption(panel_.PortCom) || panel_.PortCom == 0) {
        return;
    }
    if (link_.isOpen()) {
        relays_.switchOffAll();
        link_.close();
        openPort_.reset();
    }
    PortCom_Click(panel_.PortCom);
}

void PortChoice::TimerPort_Timer() {
    if (panel_.PortCom < 1 || link_.isOpen()) {
        retryTimer_.setEnabled(false);
        return;
    }
    choose(panel_.PortCom);
    if (link_.isOpen()) {
        journal_.note(portOpenedSentence(kPortComCaptions.at(static_cast<size_t>(panel_.PortCom)),
                                         panel_.InfoERR));
    }
}

} // namespace quorel
