#pragma once

#include "core/check_state.h"
#include "core/module_size.h"
#include "core/view.h"
#include "platform/line_parameters.h"

#include <array>
#include <cstdint>
#include <string>

namespace quorel {

// What an output's indicator shows; each front end paints it in its own colours (bright green
// on, darker green off).
enum class Indicator { Off, On };

// What a relay test button shows: the button face, or that it switched its relay on (light red).
enum class TestButton { Face, RelayOn };

// The state of the window's relay controls, which the logic owns and the window shows. Arrays of
// per-output controls hold output k at element k - 1.
struct RelayPanel {
    std::array<Indicator, kOutputCount> LedOut{};
    // What the test buttons show, their only on/off memory.
    std::array<TestButton, kRelayCount> CmdRelais{};
    std::array<CheckState, kOutputCount> CheckS{};
    // The selected port option: 0 "Désactivé", 1 to 4 "COM1:" to "COM4:".
    int16_t PortCom = 0;
    // The status line, and the number of the error it shows (0 for any other status), which
    // chooses its tool tip.
    std::string InfoERR;
    int InfoERRNumber = 0;
    std::string Setting = kLineParameters;
    // Who answered on the port opened last ("Module USB-RLY02, version 3"), or that nothing did;
    // and which relays were last found in another state than commanded. Both for the status
    // line's tool tip.
    std::string moduleNote;
    std::string foundStates;
    // How many relays of the module are driven, outputs k <= moduleRelays switching relay k: 2, or
    // 4 once a board with more relays answered. Back to 2 at each device opening until it answers.
    int moduleRelays = kRelayCount;
};

inline constexpr std::array<const char*, 5> kPortComCaptions = {"Désactivé",
                                                                "COM1:", "COM2:", "COM3:", "COM4:"};

// Sets how many relays the module drives; when that changes, the outputs shown and the editor's
// rows marked for outputs without a relay are drawn again.
inline void setModuleRelays(RelayPanel& panel, int relays, View& view) {
    if (panel.moduleRelays != relays) {
        panel.moduleRelays = relays;
        view.redraw(ViewPart::Outputs);
        view.redraw(ViewPart::List);
    }
}

} // namespace quorel
