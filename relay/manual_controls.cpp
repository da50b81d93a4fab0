#include "relay/manual_controls.h"

#include "schedule/journal_sentences.h"

namespace quorel {

ManualControls::ManualControls(RelayPanel& panel, RelayLink& relays, EventPump& pump, View& view,
                               Outputs& outputs, Journal& journal)
    : panel_(panel), relays_(relays), pump_(pump), view_(view), outputs_(outputs),
      journal_(journal) {}

void ManualControls::CmdRelais_Click(int16_t index) {
    if (index < 0 || index > 1 || !relays_.portOpen()) {
        return;
    }
    const TestButton before = panel_.CmdRelais[index];
    const bool switchOn = before == TestButton::Face;
    panel_.CmdRelais[index] = switchOn ? TestButton::RelayOn : TestButton::Face;
    view_.redraw(ViewPart::RelayButtons);
    if (relays_.test(index + 1, switchOn) != SerialError::None) {
        // What the button shows is its only memory: it must not claim a command that never left.
        panel_.CmdRelais[index] = before;
        view_.redraw(ViewPart::RelayButtons);
    } else {
        journal_.note(relayTestSentence(index + 1, switchOn));
    }
    pump_.yield();
}

void ManualControls::setCheckS(int16_t index, CheckState value) {
    if (index < 0 || index > 3) {
        return;
    }
    panel_.CheckS[index] = value;
}

void ManualControls::CheckS_Click(int16_t index) {
    // All four boxes are sampled on every click; only a checked box counts as on.
    auto flag = [this](int box) { return panel_.CheckS[box] == CheckState::Checked ? kOn : kOff; };
    // Read before the switch, whose yields may let another click change the boxes.
    const bool switches = outputs_.inService() && index >= 0 && index <= 3;
    const bool on = switches && flag(index) == kOn;
    outputs_.SetOutputs(flag(0), flag(1), flag(2), flag(3));
    if (switches) {
        journal_.note(manualSwitchSentence(index + 1, on));
    }
}

} // namespace quorel
