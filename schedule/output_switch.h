#pragma once

#include "core/module_size.h"
#include <array>
#include <cstdint>

namespace quorel {

// What one call of SetOutputs did: whether it acted at all (only while the scheduler runs), for
// each output with a relay whether its byte reached the module, and how many outputs, from
// output 1, have a relay on the module (2 or 4).
struct SwitchResult {
    bool acted = false;
    std::array<bool, kOutputCount> written{};
    int relays = kRelayCount;
};

// What the tick needs of the relay side: the one operation that switches outputs, and the
// catching up of relay commands that did not reach the module.
class OutputSwitch {
  public:
    virtual ~OutputSwitch() = default;
    // Four flags for outputs 1 to 4: -1 = on, 0 = off.
    virtual SwitchResult SetOutputs(int16_t o1, int16_t o2, int16_t o3, int16_t o4) = 0;
    // Sends again what the module has not received yet; called once at the end of every tick.
    virtual void keepRelaysInStep() = 0;
    // How long a call of SetOutputs lasts: the pause after each of its relay bytes.
    virtual double switchSeconds() const = 0;
};

} // namespace quorel
