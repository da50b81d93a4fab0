#include "tests/relay/relay_rig.h"

namespace quorel {
namespace {

using ManualControlsTest = RelayTest;

TEST_F(ManualControlsTest, TestButtonsToggleTheirRelayWhileThePortIsOpen) {
    manual.CmdRelais_Click(0); // "Désactivé": ignored
    EXPECT_EQ(panel.CmdRelais[0], kButtonFaceColour);
    EXPECT_EQ(pump.yields, 0);

    ports.select(1);
    std::vector<uint32_t> colourWhenSent;
    link.onWrite = [&](uint8_t) { colourWhenSent.push_back(panel.CmdRelais[0]); };
    manual.CmdRelais_Click(0);
    manual.CmdRelais_Click(0);
    manual.CmdRelais_Click(1);
    EXPECT_EQ(clock.pausedSeconds(), 0);
    ports.select(0); // relay 2 is switched off; the colour outlives the port
    ports.select(1);
    manual.CmdRelais_Click(1);
    EXPECT_EQ(link.bytes(), (Bytes{'e', 'o', 'f', 'p', 'p'}));
    EXPECT_EQ(colourWhenSent[0], kLightRedColour);
    EXPECT_EQ(colourWhenSent[1], kButtonFaceColour);
    EXPECT_EQ(pump.yields, 4);
    EXPECT_EQ(state.OutputState[1], kOff);

    relays.keepInStep(); // the relays set as the flags say since the port opened
    link.sent.clear();
    link.writeError = SerialError::WriteFailed;
    manual.CmdRelais_Click(1);
    EXPECT_EQ(panel.CmdRelais[1], kButtonFaceColour); // no command left: colour as before
    EXPECT_EQ(panel.InfoERR, "Erreur n°  8031");
    link.writeError = SerialError::None;
    relays.keepInStep(); // and a test is not tried again behind the operator's back
    EXPECT_TRUE(link.sent.empty());
}

TEST_F(ManualControlsTest, SwitchesHandAllFourBoxesToSetOutputs) {
    manual.setCheckS(0, 1);
    manual.CheckS_Click(0); // scheduler stopped: nothing stored or sent
    EXPECT_EQ(state.OutputState[1], kOff);
    EXPECT_TRUE(link.sent.empty());

    ports.select(1);
    manual.setCheckS(1, 1);
    manual.setCheckS(2, 2); // greyed counts as off
    manual.CheckS_Click(1);
    EXPECT_EQ(state.OutputState, (std::array<int16_t, 5>{0, kOn, kOn, kOff, kOff}));
    EXPECT_EQ(link.bytes(), (Bytes{0x65, 0x66}));
}

} // namespace
} // namespace quorel
