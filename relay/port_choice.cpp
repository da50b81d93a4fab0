#include "relay/port_choice.h"

#include "relay/status_text.h"

#include <string>

namespace quorel {

namespace {

// Every failure is shown; only 8013 lets the operation carry on with its next step.
bool carriesOn(SerialError error, RelayPanel& panel, View& view) {
    if (error == SerialError::None) {
        return true;
    }
    panel.InfoERR = errorStatusText(static_cast<int>(error));
    view.redraw(ViewPart::Status);
    return error == SerialError::LineNotApplied;
}

} // namespace

PortChoice::PortChoice(RelayPanel& panel, SerialLink& link, Timer& timer, View& view)
    : panel_(panel), link_(link), timer_(timer), view_(view) {}

void PortChoice::PortCom_Click(int16_t index) {
    if (index < 0 || index >= static_cast<int16_t>(kPortComCaptions.size())) {
        return;
    }
    if (index == 0) {
        timer_.setEnabled(false);
        link_.close();
        openPort_.reset();
        panel_.InfoERR = kPortClosedStatus;
        view_.redraw(ViewPart::Status);
        return;
    }

    bool open = link_.isOpen();
    // The status line names the chosen port, so a port open on another number is closed first.
    if (open && openPort_ != index) {
        link_.close();
        openPort_.reset();
        open = false;
    }
    if (!open) {
        if (!carriesOn(link_.setPortNumber(index), panel_, view_)) {
            return;
        }
        if (!carriesOn(link_.setParameters(panel_.Setting), panel_, view_)) {
            return;
        }
        const bool opened = carriesOn(link_.open(), panel_, view_);
        if (link_.isOpen()) {
            openPort_ = index;
        }
        if (!opened) {
            return;
        }
    }
    panel_.InfoERR = std::string("Init ") + kPortComCaptions[index] + panel_.Setting + " Ok";
    view_.redraw(ViewPart::Status);
    timer_.setEnabled(true);
}

void PortChoice::select(int16_t index) {
    if (index < 0 || index >= static_cast<int16_t>(kPortComCaptions.size())) {
        return;
    }
    panel_.PortCom = index;
    view_.redraw(ViewPart::PortChoice);
    PortCom_Click(index);
}

} // namespace quorel
