#pragma once

#include "core/module_size.h"

#include <cstdint>

namespace quorel {

// The relay module's commands: one byte each, for relays 1 to 4. A USB-RLY02 has relays 1 and 2
// only; the boards of the same family with more relays take the same bytes.
inline constexpr uint8_t kRelay1On = 0x65;  // 'e'
inline constexpr uint8_t kRelay2On = 0x66;  // 'f'
inline constexpr uint8_t kRelay3On = 0x67;  // 'g'
inline constexpr uint8_t kRelay4On = 0x68;  // 'h'
inline constexpr uint8_t kRelay1Off = 0x6F; // 'o'
inline constexpr uint8_t kRelay2Off = 0x70; // 'p'
inline constexpr uint8_t kRelay3Off = 0x71; // 'q'
inline constexpr uint8_t kRelay4Off = 0x72; // 'r'

// The module's queries: 0x5A answers two bytes, the module's identifier then its firmware
// version; 0x5B answers one byte, bit k - 1 set while relay k is powered.
inline constexpr uint8_t kGetVersion = 0x5A;
inline constexpr uint8_t kGetRelayStates = 0x5B;
inline constexpr uint8_t kUsbRly02Identifier = 10;
// The identifiers of the boards with more relays: USB-RLY08, USB-RLY16 and USB-RLY16L.
inline constexpr uint8_t kUsbRly08Identifier = 8;
inline constexpr uint8_t kUsbRly16Identifier = 9;
inline constexpr uint8_t kUsbRly16LIdentifier = 15;

// The byte that sets relay 1 to 4 on or off.
constexpr uint8_t relayByte(int relay, bool on) {
    return static_cast<uint8_t>((on ? kRelay1On : kRelay1Off) + relay - 1);
}

// How many relays of the module with this identifier are driven: 2 on a USB-RLY02, 4 on a board
// with more relays; 0 for a device of no known board.
constexpr int drivenRelays(uint8_t identifier) {
    if (identifier == kUsbRly02Identifier) {
        return kRelayCount;
    }
    const bool moreRelays = identifier == kUsbRly08Identifier ||
                            identifier == kUsbRly16Identifier || identifier == kUsbRly16LIdentifier;
    return moreRelays ? kMaxRelayCount : 0;
}

} // namespace quorel
