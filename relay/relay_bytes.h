#pragma once

#include <cstdint>

namespace quorel {

// The relay module's commands: one byte each, for relays 1 and 2.
inline constexpr uint8_t kRelay1On = 0x65;  // 'e'
inline constexpr uint8_t kRelay2On = 0x66;  // 'f'
inline constexpr uint8_t kRelay1Off = 0x6F; // 'o'
inline constexpr uint8_t kRelay2Off = 0x70; // 'p'

// The module's queries: 0x5A answers two bytes, the module's identifier then its firmware
// version; 0x5B answers one byte, bit 0 set while relay 1 is powered, bit 1 for relay 2.
inline constexpr uint8_t kGetVersion = 0x5A;
inline constexpr uint8_t kGetRelayStates = 0x5B;
inline constexpr uint8_t kUsbRly02Identifier = 10;

// The byte that sets relay 1 or 2 on or off.
constexpr uint8_t relayByte(int relay, bool on) {
    if (relay == 1) {
        return on ? kRelay1On : kRelay1Off;
    }
    return on ? kRelay2On : kRelay2Off;
}

} // namespace quorel
