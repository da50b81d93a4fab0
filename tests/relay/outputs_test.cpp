#include "tests/relay/relay_rig.h"

namespace quorel {
namespace {

using SetOutputsTest = RelayTest;
using Flags = std::array<int16_t, 5>;

TEST_F(SetOutputsTest, SendsBothRelaysInOrderPaintsAndPausesAfterEachByte) {
    const std::pair<Flags, Bytes> cases[] = {{{0, -1, 0, 0, 0}, {0x65, 0x70}},
                                             {{0, 0, -1, 0, 0}, {0x6F, 0x66}},
                                             {{0, -1, -1, 0, 0}, {0x65, 0x66}},
                                             {{0, 0, 0, -1, -1}, {0x6F, 0x70}},
                                             {{0, 1, -1, 2, 0}, {0x6F, 0x66}}}; // only -1 is on
    ports.select(1);
    link.onWrite = [this](uint8_t byte) { // each indicator is painted before its byte leaves
        const int led = byte == kRelay1On || byte == kRelay1Off ? 0 : 1;
        const bool on = byte == kRelay1On || byte == kRelay2On;
        EXPECT_EQ(panel.LedOut[led], on ? kLedOnColour : kLedOffColour);
    };
    for (const auto& [flags, bytes] : cases) {
        link.sent.clear();
        const double pausedBefore = clock.pausedSeconds();
        outputs.SetOutputs(flags[1], flags[2], flags[3], flags[4]);
        EXPECT_EQ(link.bytes(), bytes);
        EXPECT_NEAR(link.sent[1].at - link.sent[0].at, 0.15, 1e-9);
        EXPECT_NEAR(clock.pausedSeconds() - pausedBefore, 0.3, 1e-9);
        EXPECT_EQ(state.OutputState, flags);
        EXPECT_EQ(panel.LedOut[2], kLedOffColour); // outputs 3 and 4 have no indicator painted
    }
    EXPECT_EQ(pump.yields, 10);
}

TEST_F(SetOutputsTest, DisabledTimerTouchesNothing) {
    outputs.SetOutputs(-1, -1, -1, -1);
    EXPECT_EQ(state.OutputState, Flags{});
    EXPECT_EQ(panel.LedOut[0], kLedOffColour);
    EXPECT_TRUE(link.calls.empty());
    EXPECT_EQ(pump.yields + clock.pausedSeconds(), 0);
}

TEST_F(SetOutputsTest, FailedCommandIsSentAgainAtEachTickAndTheStatusLineTellsTheTruth) {
    ports.select(1);
    outputs.SetOutputs(kOn, 0, 0, 0);
    link.sent.clear();
    link.writeError = SerialError::WriteFailed; // a USB glitch during the switch-off
    const double pausedBefore = clock.pausedSeconds();
    outputs.SetOutputs(0, 0, 0, 0);
    EXPECT_EQ(panel.InfoERR, "Erreur n°  8031");
    EXPECT_EQ(state.OutputState[1], kOff);
    EXPECT_NEAR(clock.pausedSeconds() - pausedBefore, 0.3, 1e-9);
    relays.keepInStep();
    EXPECT_EQ(panel.InfoERR, "Erreur n°  8031");
    link.writeError = SerialError::None;
    relays.keepInStep();
    EXPECT_EQ(link.bytes(), (Bytes{0x6F, 0x70}));
    EXPECT_EQ(panel.InfoERR, "Init COM1:4800,N,8,1 Ok");
    relays.keepInStep(); // written: nothing more to send
    EXPECT_EQ(link.sent.size(), 2u);

    // Unplugged: said at the next tick, before any bell fails. Back: both relays get their
    // state again, since the module may have reset them.
    link.loseDevice();
    link.reopenError = SerialError::DeviceMissing;
    relays.keepInStep();
    EXPECT_EQ(panel.InfoERR, "Erreur n°  8020");
    link.reopenError = SerialError::None;
    relays.keepInStep();
    EXPECT_EQ(link.bytes(), (Bytes{0x6F, 0x70, 0x6F, 0x70}));
    EXPECT_EQ(panel.InfoERR, "Init COM1:4800,N,8,1 Ok");
}

TEST_F(SetOutputsTest, SwitchClickedBetweenTheBytesLeavesRelaysMatchingTheFlags) {
    ports.select(1);
    pump.onYield = [this](int yield) {
        if (yield == 1) {
            manual.setCheckS(1, 1);
            manual.CheckS_Click(1);
        }
    };
    outputs.SetOutputs(kOn, 0, 0, 0);
    EXPECT_EQ(link.bytes(), (Bytes{0x65, 0x6F, 0x66, 0x66}));
    EXPECT_EQ(state.OutputState, (Flags{0, kOff, kOn, kOff, kOff}));
    EXPECT_EQ(panel.LedOut,
              (std::array<uint32_t, 4>{kLedOffColour, kLedOnColour, kLedOffColour, kLedOffColour}));
}

TEST_F(SetOutputsTest, PortClosedBetweenTheBytes) {
    ports.select(1);
    pump.onYield = [this](int yield) {
        if (yield == 1) {
            ports.select(0);
        }
    };
    outputs.SetOutputs(kOn, kOn, 0, 0);
    EXPECT_EQ(link.bytes(), (Bytes{0x65, 0x6F, 0x70})); // "Désactivé" switches the relays off
    EXPECT_EQ(panel.InfoERR, "Erreur n°  8030");
    EXPECT_EQ(state.OutputState, (Flags{0, kOn, kOn, 0, 0}));
}

} // namespace
} // namespace quorel
