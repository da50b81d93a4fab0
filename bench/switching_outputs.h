#pragma once

#include "platform/serial_link.h"
#include "platform/timer.h"
#include "relay/outputs.h"
#include "tests/support/fakes.h"

namespace quorel::bench {

// A serial port that is always open and takes every byte, counting them.
class DiscardingLink final : public SerialLink {
  public:
    bool isOpen() const override { return true; }
    SerialError setPortNumber(int16_t) override { return SerialError::None; }
    SerialError setParameters(const std::string&) override { return SerialError::None; }
    SerialError open() override { return SerialError::None; }
    void close() override {}
    using SerialLink::writeByte;
    SerialError writeByte(uint8_t, double) override {
        ++written;
        return SerialError::None;
    }
    SerialError reconnect() override { return SerialError::None; }
    uint32_t openings() const override { return 1; }
    long written = 0;
};

// TimerSat running, so that SetOutputs switches.
class EnabledTimer final : public Timer {
  public:
    void setEnabled(bool) override {}
    bool isEnabled() const override { return true; }
};

// The outputs over a discarding link, switched with the given clock and event pump.
struct SwitchingOutputs {
    SwitchingOutputs(Clock& clock, EventPump& pump)
        : relays(link, clock, state, panel, view, journal),
          outputs(state, panel, relays, pump, clock, timer, view) {}

    DiscardingLink link;
    EnabledTimer timer;
    test::SilentView view;
    SchedulerState state;
    RelayPanel panel;
    test::RecordingJournal journal;
    RelayLink relays;
    Outputs outputs;
};

} // namespace quorel::bench
