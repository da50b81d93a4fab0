#pragma once

#include "relay/relay_bytes.h"

#include <cstdint>
#include <vector>

namespace quorel {

// What a relay module does with each byte it receives: the relay bytes switch its relays, the
// questions are answered (its identifier and version; its relays' states). It plays a USB-RLY02
// (two relays, identifier 10) or, with four relays, a board with more relays (identifier 8) of
// which relays 1 to 4 are used. For the simulator, the tests and the benchmarks. A stuck relay
// stays as it is stuck whatever it is told.
class SimulatedModule {
  public:
    static constexpr uint8_t kVersion = 1;

    SimulatedModule() = default;
    // relays: 2 or 4.
    SimulatedModule(int stuckRelay, bool stuckOn, int relays = kRelayCount)
        : relays_(relays == kMaxRelayCount ? kMaxRelayCount : kRelayCount),
          stuckRelay_(stuckRelay) {
        setRelay(stuckRelay, stuckOn);
    }

    uint8_t identifier() const {
        return relays_ == kMaxRelayCount ? kUsbRly08Identifier : kUsbRly02Identifier;
    }

    // The answer to the byte, if it is a question.
    std::vector<uint8_t> receive(uint8_t byte) {
        for (int relay = 1; relay <= relays_; ++relay) {
            if ((byte == relayByte(relay, true) || byte == relayByte(relay, false)) &&
                relay != stuckRelay_) {
                setRelay(relay, byte == relayByte(relay, true));
            }
        }
        if (byte == kGetVersion) {
            return {identifier(), kVersion};
        }
        if (byte == kGetRelayStates) {
            return {states()};
        }
        return {};
    }
    // All relays off, as after a power dip (a stuck relay stays as it is stuck).
    void reset() {
        for (int relay = 1; relay <= relays_; ++relay) {
            if (relay != stuckRelay_) {
                setRelay(relay, false);
            }
        }
    }
    // A relay that switched by itself.
    void setRelay(int relay, bool on) {
        if (relay >= 1 && relay <= relays_) {
            on_[relay - 1] = on;
        }
    }
    bool relayOn(int relay) const { return on_[relay - 1]; }
    uint8_t states() const {
        uint8_t bits = 0;
        for (int relay = 1; relay <= relays_; ++relay) {
            bits = static_cast<uint8_t>(bits | (on_[relay - 1] ? 1 << (relay - 1) : 0));
        }
        return bits;
    }

  private:
    int relays_ = kRelayCount;
    int stuckRelay_ = 0; // 1 to relays_; 0: none
    bool on_[kMaxRelayCount] = {false, false, false, false};
};

} // namespace quorel
