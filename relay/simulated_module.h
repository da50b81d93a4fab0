#pragma once

#include "relay/relay_bytes.h"

#include <cstdint>
#include <vector>

namespace quorel {

// What a USB-RLY02 does with each byte it receives: the relay bytes switch its two relays, the
// questions are answered (its identifier and version; its relays' states). For the simulator,
// the tests and the benchmarks. A stuck relay stays as it is stuck whatever it is told.
class SimulatedModule {
  public:
    static constexpr uint8_t kVersion = 1;

    SimulatedModule() = default;
    SimulatedModule(int stuckRelay, bool stuckOn) : stuckRelay_(stuckRelay) {
        setRelay(stuckRelay, stuckOn);
    }

    // The answer to the byte, if it is a question.
    std::vector<uint8_t> receive(uint8_t byte) {
        for (int relay = 1; relay <= 2; ++relay) {
            if ((byte == relayByte(relay, true) || byte == relayByte(relay, false)) &&
                relay != stuckRelay_) {
                setRelay(relay, byte == relayByte(relay, true));
            }
        }
        if (byte == kGetVersion) {
            return {kUsbRly02Identifier, kVersion};
        }
        if (byte == kGetRelayStates) {
            return {states()};
        }
        return {};
    }
    // Both relays off, as after a power dip (a stuck relay stays as it is stuck).
    void reset() {
        for (int relay = 1; relay <= 2; ++relay) {
            if (relay != stuckRelay_) {
                setRelay(relay, false);
            }
        }
    }
    // A relay that switched by itself.
    void setRelay(int relay, bool on) {
        if (relay == 1 || relay == 2) {
            on_[relay - 1] = on;
        }
    }
    bool relayOn(int relay) const { return on_[relay - 1]; }
    uint8_t states() const { return static_cast<uint8_t>((on_[0] ? 1 : 0) | (on_[1] ? 2 : 0)); }

  private:
    int stuckRelay_ = 0; // 1 or 2; 0: none
    bool on_[2] = {false, false};
};

} // namespace quorel
