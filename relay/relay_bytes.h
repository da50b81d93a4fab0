#pragma once

#include <cstdint>

namespace quorel {

// The relay module's commands: one byte each, for relays 1 and 2.
inline constexpr uint8_t kRelay1On = 0x65;  // 'e'
inline constexpr uint8_t kRelay2On = 0x66;  // 'f'
inline constexpr uint8_t kRelay1Off = 0x6F; // 'o'
inline constexpr uint8_t kRelay2Off = 0x70; // 'p'

// The byte that sets relay 1 or 2 on or off.
constexpr uint8_t relayByte(int relay, bool on) {
    if (relay == 1) {
        return on ? kRelay1On : kRelay1Off;
    }
    return on ? kRelay2On : kRelay2Off;
}

} // namespace quorel
