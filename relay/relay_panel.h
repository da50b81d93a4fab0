#pragma once

#include "core/module_size.h"
#include "platform/line_parameters.h"

#include <array>
#include <cstdint>
#include <string>

namespace quorel {

// Colours are toolkit colour values, bytes in blue-green-red order.
inline constexpr uint32_t kLedOnColour = 0x00FF00;        // pure green
inline constexpr uint32_t kLedOffColour = 0x00C000;       // darker green
inline constexpr uint32_t kButtonFaceColour = 0x8000000F; // the system's button face
inline constexpr uint32_t kLightRedColour = 8421631;      // 0x8080FF: red FF, green 80, blue 80

// The state of the window's relay controls, which the logic owns and the window shows. Arrays of
// per-output controls hold output k at element k - 1.
struct RelayPanel {
    std::array<uint32_t, kOutputCount> LedOut{kLedOffColour, kLedOffColour, kLedOffColour,
                                              kLedOffColour};
    // The test buttons' background colours, their only on/off memory.
    std::array<uint32_t, kRelayCount> CmdRelais{kButtonFaceColour, kButtonFaceColour};
    // Output switches: 0 unchecked, 1 checked, 2 greyed; only 1 counts as on.
    std::array<int, kOutputCount> CheckS{};
    // The selected port option: 0 "Désactivé", 1 to 4 "COM1:" to "COM4:".
    int16_t PortCom = 0;
    // The status line, and the number of the error it shows (0 for any other status), which
    // chooses its tool tip.
    std::string InfoERR;
    int InfoERRNumber = 0;
    std::string Setting = kLineParameters;
};

inline constexpr std::array<const char*, 5> kPortComCaptions = {"Désactivé",
                                                                "COM1:", "COM2:", "COM3:", "COM4:"};

} // namespace quorel
