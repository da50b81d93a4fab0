#pragma once

#include "relay/manual_controls.h"
#include "relay/outputs.h"
#include "relay/port_choice.h"
#include "tests/support/fake_clock.h"
#include "tests/support/fakes.h"
#include "tests/support/recording_serial_link.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace quorel {

using Bytes = std::vector<uint8_t>;

// Keeps every text the status line showed, in order.
class StatusHistory final : public View {
  public:
    explicit StatusHistory(const RelayPanel& panel) : panel_(panel) {}
    void redraw(ViewPart part) override {
        parts.push_back(part);
        if (part == ViewPart::Status) {
            shown.push_back(panel_.InfoERR);
        }
    }
    std::vector<ViewPart> parts;
    std::vector<std::string> shown;

  private:
    const RelayPanel& panel_;
};

// The relay logic over a recording link, a fake clock and a fake timer.
class RelayTest : public ::testing::Test {
  protected:
    test::FakeClock clock;
    test::RecordingSerialLink link{&clock};
    test::FakeEventPump pump;
    test::FakeTimer timer;
    test::FakeTimer retryTimer;
    SchedulerState state;
    RelayPanel panel;
    StatusHistory view{panel};
    RelayLink relays{link, clock, state, panel, view};
    Outputs outputs{state, panel, relays, pump, clock, timer, view};
    PortChoice ports{panel, link, relays, timer, retryTimer, view};
    ManualControls manual{panel, relays, pump, view, outputs};
};

} // namespace quorel
