#include "relay/manual_controls.h"
#include "relay/outputs.h"
#include "relay/port_choice.h"
#include "relay/relay_bytes.h"
#include "relay/status_text.h"
#include "tests/support/fake_clock.h"
#include "tests/support/fakes.h"
#include "tests/support/recording_serial_link.h"

#include <gtest/gtest.h>

namespace quorel {
namespace {

using Bytes = std::vector<uint8_t>;
using Texts = std::vector<std::string>;

// Keeps every text the status line showed, in order.
struct StatusHistory final : View {
    explicit StatusHistory(const RelayPanel& panel) : panel(panel) {}
    void redraw(ViewPart part) override {
        if (part == ViewPart::Status) {
            shown.push_back(panel.InfoERR);
        }
    }
    const RelayPanel& panel;
    Texts shown;
};

// The relay logic over a recording link, a fake clock and fake timers.
struct RelayTest : ::testing::Test {
    test::FakeClock clock;
    test::RecordingSerialLink link{&clock};
    test::FakeEventPump pump;
    test::FakeTimer timer;
    test::FakeTimer retryTimer;
    SchedulerState state;
    RelayPanel panel;
    StatusHistory view{panel};
    test::RecordingJournal journal;
    RelayLink relays{link, clock, state, panel, view, journal};
    Outputs outputs{state, panel, relays, pump, clock, timer, view};
    PortChoice ports{panel, link, relays, timer, retryTimer, view, journal};
    ManualControls manual{panel, relays, pump, view, outputs, journal};
};

using Flags = std::array<int16_t, 5>;

TEST_F(RelayTest, SetOutputsSendsBothRelaysInOrderPaintsAndPausesAfterEachByte) {
    // Only -1 is on.
    const std::pair<Flags, Bytes> cases[] = {{{0, -1, 0, 0, 0}, {0x65, 0x70}},
                                             {{0, 0, -1, 0, 0}, {0x6F, 0x66}},
                                             {{0, -1, -1, 0, 0}, {0x65, 0x66}},
                                             {{0, 0, 0, -1, -1}, {0x6F, 0x70}},
                                             {{0, 1, -1, 2, 0}, {0x6F, 0x66}}};
    ports.select(1);
    link.onWrite = [this](uint8_t byte) { // each indicator is painted before its byte leaves
        const int led = byte == kRelay1On || byte == kRelay1Off ? 0 : 1;
        const bool on = byte == kRelay1On || byte == kRelay2On;
        EXPECT_EQ(panel.LedOut[led], on ? Indicator::On : Indicator::Off);
    };
    for (const auto& [flags, bytes] : cases) {
        link.sent.clear();
        const double pausedBefore = clock.pausedSeconds();
        outputs.SetOutputs(flags[1], flags[2], flags[3], flags[4]);
        EXPECT_EQ(link.bytes(), bytes);
        EXPECT_NEAR(link.sent[1].at - link.sent[0].at, 0.15, 1e-9);
        EXPECT_NEAR(clock.pausedSeconds() - pausedBefore, 0.3, 1e-9);
        EXPECT_EQ(state.OutputState, flags);
        EXPECT_EQ(panel.LedOut[2], Indicator::Off); // outputs 3 and 4 have no indicator painted
    }
    EXPECT_EQ(pump.yields, 10);
}

TEST_F(RelayTest, FailedCommandIsSentAgainAtEachTickAndTheStatusLineTellsTheTruth) {
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
    EXPECT_EQ(link.bytes().size(), 2u);

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

// A click or a port change handled inside a yield between the two bytes.
TEST_F(RelayTest, RelaysEndUpMatchingWhatHappenedBetweenTheBytes) {
    ports.select(1);
    pump.onYield = [this](int yield) {
        if (yield == 1) {
            manual.setCheckS(1, CheckState::Checked);
            manual.CheckS_Click(1);
        }
    };
    outputs.SetOutputs(kOn, 0, 0, 0);
    EXPECT_EQ(link.bytes(), (Bytes{0x65, 0x6F, 0x66, 0x66}));
    EXPECT_EQ(state.OutputState, (Flags{0, kOff, kOn, kOff, kOff}));
    EXPECT_EQ(panel.LedOut, (std::array<Indicator, 4>{Indicator::Off, Indicator::On, Indicator::Off,
                                                      Indicator::Off}));

    link.sent.clear();
    pump.yields = 0;
    pump.onYield = [this](int yield) {
        if (yield == 1) {
            ports.select(0);
        }
    };
    outputs.SetOutputs(kOn, kOn, 0, 0);
    // "Désactivé" switches the relays off; nothing more is sent to the closed port
    EXPECT_EQ(link.bytes(), (Bytes{0x65, 0x6F, 0x70}));
    EXPECT_EQ(panel.InfoERR, "Port COM Close OK !");
    EXPECT_EQ(state.OutputState, (Flags{0, kOn, kOn, 0, 0}));
}

TEST_F(RelayTest, ARelayWhoseOffCommandFailedIsStillSwitchedOffBeforeThePortCloses) {
    ports.select(1);
    outputs.SetOutputs(kOn, 0, 0, 0);
    link.writeError = SerialError::WriteFailed; // the module glitched as the bell ended
    outputs.SetOutputs(0, 0, 0, 0);
    link.writeError = SerialError::None;
    link.sent.clear();
    link.onWrite = [this](uint8_t) { EXPECT_TRUE(link.isOpen()); };
    ports.select(0); // "Désactivé", as a shut-down does
    EXPECT_EQ(link.bytes(), (Bytes{0x6F, 0x70}));
    EXPECT_EQ(link.calls.back(), "close");
}

TEST_F(RelayTest, SwitchesHandAllFourBoxesToSetOutputsWhileTheSchedulerRuns) {
    manual.setCheckS(0, CheckState::Checked);
    manual.CheckS_Click(0); // scheduler stopped: nothing stored, painted or sent
    EXPECT_EQ(state.OutputState, Flags{});
    EXPECT_EQ(panel.LedOut[0], Indicator::Off);
    EXPECT_TRUE(link.calls.empty());
    EXPECT_EQ(pump.yields + clock.pausedSeconds(), 0);

    ports.select(1);
    manual.setCheckS(1, CheckState::Checked);
    manual.setCheckS(2, CheckState::Greyed); // greyed counts as off
    manual.CheckS_Click(1);
    EXPECT_EQ(state.OutputState, (Flags{0, kOn, kOn, kOff, kOff}));
    EXPECT_EQ(link.bytes(), (Bytes{0x65, 0x66}));
}

TEST_F(RelayTest, TestButtonsToggleTheirRelayWhileThePortIsOpen) {
    manual.CmdRelais_Click(0); // "Désactivé": ignored
    EXPECT_EQ(panel.CmdRelais[0], TestButton::Face);
    EXPECT_EQ(pump.yields, 0);

    ports.select(1);
    std::vector<TestButton> shownWhenSent;
    link.onWrite = [&](uint8_t) { shownWhenSent.push_back(panel.CmdRelais[0]); };
    manual.CmdRelais_Click(0);
    manual.CmdRelais_Click(0);
    manual.CmdRelais_Click(1);
    EXPECT_EQ(clock.pausedSeconds(), 0);
    ports.select(0); // relay 2 is switched off; what the button shows outlives the port
    ports.select(1);
    manual.CmdRelais_Click(1);
    EXPECT_EQ(link.bytes(), (Bytes{'e', 'o', 'f', 'p', 'p'}));
    EXPECT_EQ(shownWhenSent[0], TestButton::RelayOn);
    EXPECT_EQ(shownWhenSent[1], TestButton::Face);
    EXPECT_EQ(pump.yields, 4);
    EXPECT_EQ(state.OutputState[1], kOff);

    relays.keepInStep(); // the relays set as the flags say since the port opened
    link.sent.clear();
    link.writeError = SerialError::WriteFailed;
    manual.CmdRelais_Click(1);
    EXPECT_EQ(panel.CmdRelais[1], TestButton::Face); // no command left: shown as before
    EXPECT_EQ(panel.InfoERR, "Erreur n°  8031");
    link.writeError = SerialError::None;
    relays.keepInStep(); // and a test is not tried again behind the operator's back
    EXPECT_TRUE(link.bytes().empty());
}

TEST_F(RelayTest, PortChoiceStepsStatusTextsAndFailures) {
    ports.select(0); // nothing open: no error
    ports.select(2);
    ports.select(2); // the open port again: kept open
    ports.select(4); // another port: the open one is closed first
    ports.select(0);
    EXPECT_EQ(panel.PortCom, 0);
    const std::string parameters = "parameters 4800,N,8,1";
    EXPECT_EQ(link.calls, (Texts{"close", "port 2", parameters, "open", "close", "port 4",
                                 parameters, "open", "close"}));
    EXPECT_EQ(timer.changes, (std::vector<bool>{false, true, true, true, false}));
    EXPECT_EQ(view.shown,
              (Texts{"Port COM Close OK !", "Init COM2:4800,N,8,1 Ok", "Init COM2:4800,N,8,1 Ok",
                     "Init COM4:4800,N,8,1 Ok", "Port COM Close OK !"}));
    ports.select(7);
    EXPECT_EQ(panel.PortCom, 0);
    // The number after "Erreur n°" has a sign position.
    EXPECT_EQ(errorStatusText(0), "Erreur n°  0");
    EXPECT_EQ(errorStatusText(-5), "Erreur n° -5");

    // Only error 8013 lets the choice carry on with its next step.
    SerialError* steps[] = {&link.setPortNumberError, &link.setParametersError, &link.openError};
    for (size_t made = 1; made <= 3; ++made) {
        ports.select(0);
        link.calls.clear();
        view.shown.clear();
        *steps[made - 1] = SerialError::LineNotApplied;
        ports.select(4);
        EXPECT_EQ(link.calls, (Texts{"port 4", "parameters 4800,N,8,1", "open"}));
        EXPECT_EQ(view.shown, (Texts{"Erreur n°  8013", "Init COM4:4800,N,8,1 Ok"}));
        EXPECT_TRUE(link.isOpen() && timer.isEnabled());
        ports.select(0);
        link.calls.clear();
        *steps[made - 1] = SerialError::DeviceMissing;
        ports.select(4);
        *steps[made - 1] = SerialError::None;
        EXPECT_EQ(link.calls.size(), made);
        EXPECT_EQ(panel.InfoERR, "Erreur n°  8020");
        EXPECT_FALSE(link.isOpen() || timer.isEnabled());
    }
    ports.select(1); // a failed switch leaves the scheduler as it was
    link.openError = SerialError::DeviceBusy;
    ports.select(2);
    EXPECT_EQ(panel.InfoERR, "Erreur n°  8021");
    EXPECT_FALSE(link.isOpen());
    EXPECT_TRUE(timer.isEnabled());

    // The status line's tool tip explains the number it shows, and only an error number.
    EXPECT_NE(statusToolTip(panel.InfoERRNumber)
                  .find("groupe qui possède le périphérique, en général "
                        "dialout"),
              std::string::npos);
    EXPECT_NE(statusToolTip(8020).find("Branchez le module"), std::string::npos);
    EXPECT_NE(statusToolTip(8031).find("renvoie"), std::string::npos);
    EXPECT_EQ(statusToolTip(8024), "");
    link.openError = SerialError::None;
    ports.select(2);
    EXPECT_EQ(panel.InfoERR, "Init COM2:4800,N,8,1 Ok");
    EXPECT_EQ(panel.InfoERRNumber, 0);
}

TEST_F(RelayTest, PortThatWouldNotOpenIsTriedAgainUntilItOpens) {
    state.OutputState[1] = kOn; // left on from before: the relays follow the flags once open
    link.openError = SerialError::DeviceMissing;
    ports.select(1);
    EXPECT_TRUE(retryTimer.isEnabled());
    ports.TimerPort_Timer();
    EXPECT_EQ(panel.InfoERR, "Erreur n°  8020");
    EXPECT_FALSE(timer.isEnabled());
    link.openError = SerialError::None; // the module is plugged in
    ports.TimerPort_Timer();
    EXPECT_EQ(panel.InfoERR, "Init COM1:4800,N,8,1 Ok");
    EXPECT_TRUE(timer.isEnabled());
    EXPECT_FALSE(retryTimer.isEnabled());
    relays.keepInStep();
    EXPECT_EQ(link.bytes(), (Bytes{0x65, 0x70}));

    // "Désactivé" switches off what is on before closing, and stops the tries.
    ports.select(0);
    EXPECT_EQ(link.bytes(), (Bytes{0x65, 0x70, 0x6F}));
    EXPECT_EQ(link.calls.back(), "close");
    link.openError = SerialError::DeviceMissing;
    ports.select(2);
    ports.select(0);
    EXPECT_FALSE(retryTimer.isEnabled());
}

// Who is on the port: asked at each opening, the relays set once the answer or the wait is
// over; a device that gives no well-formed answer is never asked again until it is opened again.
TEST_F(RelayTest, TheModuleIsAskedWhoItIsAtEachOpeningAndTheRelaysWaitForTheAnswer) {
    struct Case {
        std::vector<uint8_t> answer; // to 0x5A
        std::string note;
    };
    const Case cases[] = {
        {{10, 3}, "Module USB-RLY02, version 3"},
        {{7, 2}, "Module d'identifiant 7, version 2"},
        {{}, "le module ne répond pas : commandes non vérifiées"},
        {{0x5A}, "le module ne répond pas : commandes non vérifiées"},             // an echo
        {{10, 3, 10, 3, 10}, "le module ne répond pas : commandes non vérifiées"}, // a flood
    };
    for (const Case& c : cases) {
        link.answer = [&](uint8_t byte) {
            return byte == kGetVersion ? c.answer : link.module.receive(byte);
        };
        ports.select(0);
        state.OutputState = {};
        link.sent.clear();
        link.deadlines.clear();
        ports.select(1);
        journal.sentences.clear();
        relays.keepInStep();
        EXPECT_EQ(link.sent.front().byte, kGetVersion);
        EXPECT_LT(link.deadlines.front(), 0.1); // a question that cannot leave is given up
        const bool answered = c.note.starts_with("Module");
        // The relays are set at once after an answer or a flood, after 0.3 s without one.
        const bool decided = answered || c.answer.size() > 2;
        EXPECT_EQ(link.bytes(), decided ? (Bytes{0x6F, 0x70}) : Bytes{}) << c.note;
        clock.advance(0.2);
        relays.keepInStep();
        EXPECT_EQ(link.bytes().empty(), !decided) << c.note;
        clock.advance(0.2);
        relays.keepInStep();
        EXPECT_EQ(link.bytes(), (Bytes{0x6F, 0x70})) << c.note;
        EXPECT_EQ(journal.sentences, Texts{c.note});
        EXPECT_EQ(statusToolTip(panel), c.note);
        // A device that did not answer is not asked for its relays, even after a switch.
        link.sent.clear();
        outputs.SetOutputs(kOn, 0, 0, 0);
        relays.keepInStep();
        EXPECT_EQ(link.sent.size(), answered ? 3u : 2u) << c.note;
    }
}

// Each switch is confirmed; a relay found otherwise is commanded again, and the status line says
// so until an answer matches; a module that stops answering is reported and still commanded.
TEST_F(RelayTest, TheRelaysStatesAreConfirmedAfterEachSwitchAndRestoredWhenTheModuleDisagrees) {
    int statesAsked = 0;
    const auto module = [&](uint8_t byte) {
        statesAsked += byte == kGetRelayStates ? 1 : 0;
        return link.module.receive(byte);
    };
    link.answer = module;
    clock.setTime(8, 0, 0.1);
    ports.select(1);
    relays.keepInStep();
    EXPECT_EQ(statesAsked, 1); // the start-up's relays confirmed
    outputs.SetOutputs(kOn, 0, 0, 0);
    relays.keepInStep();
    EXPECT_EQ(statesAsked, 2);
    journal.sentences.clear();
    // While relay 1 is on: at the first tick of each second (now 08:00:00.7). The module resets
    // (relay 1 found off).
    link.module.setRelay(1, false);
    clock.advance(0.2);
    relays.keepInStep();
    EXPECT_EQ(statesAsked, 2);
    clock.advance(0.2);
    relays.keepInStep();
    EXPECT_EQ(statesAsked, 3);
    EXPECT_EQ(panel.InfoERR, "Erreur n°  8032");
    EXPECT_EQ(journal.sentences, Texts{"Relais 1 trouvé au repos (commandé en marche)"});
    EXPECT_NE(statusToolTip(panel).find("Relais 1 trouvé au repos"), std::string::npos);
    link.sent.clear();
    relays.keepInStep(); // commanded again, then asked again: it matches
    EXPECT_EQ(link.bytes(), Bytes{0x65});
    EXPECT_TRUE(link.module.relayOn(1));
    EXPECT_EQ(panel.InfoERR, "Init COM1:4800,N,8,1 Ok");
    ASSERT_FALSE(journal.sentences.empty());
    EXPECT_EQ(journal.sentences.back(), "Commandes relais rétablies : Init COM1:4800,N,8,1 Ok");

    // Silent now: 8033 once, the commands still go out, and an answer again restores the line.
    journal.sentences.clear();
    link.answer = [](uint8_t) { return std::vector<uint8_t>{}; };
    outputs.SetOutputs(0, 0, 0, 0);
    relays.keepInStep();
    clock.advance(0.35);
    relays.keepInStep();
    EXPECT_EQ(panel.InfoERR, "Erreur n°  8033");
    link.sent.clear();
    outputs.SetOutputs(kOn, 0, 0, 0);
    EXPECT_EQ(link.bytes(), (Bytes{0x65, 0x70}));
    clock.advance(1.0);
    relays.keepInStep();
    clock.advance(1.0);
    relays.keepInStep();
    EXPECT_EQ(journal.sentences, Texts{"Le module ne répond plus : commandes non vérifiées"});
    link.answer = module;
    clock.advance(1.0);
    relays.keepInStep();
    EXPECT_EQ(panel.InfoERR, "Init COM1:4800,N,8,1 Ok");

    // All off: asked once a minute, at second 30.
    outputs.SetOutputs(0, 0, 0, 0);
    relays.keepInStep();
    statesAsked = 0;
    clock.setTime(8, 1, 0.1);
    for (int tick = 0; tick < 5 * 60; ++tick) {
        clock.advance(0.2);
        relays.keepInStep();
    }
    EXPECT_EQ(statesAsked, 1);

    // A relay that stays stuck is commanded again at every tick for 5 s, then once a second.
    link.module = SimulatedModule(2, false);
    clock.setTime(8, 10, 0);
    outputs.SetOutputs(0, kOn, 0, 0);
    std::vector<int> perSecond(12); // relay 2's commands in each second from 08:10:00
    while (clock.secondsSinceMidnight() < 8 * 3600 + 10 * 60 + 12) {
        link.sent.clear();
        relays.keepInStep();
        perSecond.at(static_cast<size_t>(clock.secondsSinceMidnight()) % 60) += static_cast<int>(
            std::count_if(link.sent.begin(), link.sent.end(),
                          [](const test::SentByte& sent) { return sent.byte == 0x66; }));
        clock.advance(0.2);
    }
    EXPECT_GE(perSecond[1], 2);
    EXPECT_EQ(std::vector<int>(perSecond.begin() + 7, perSecond.end()),
              (std::vector<int>{1, 1, 1, 1, 1}));
    EXPECT_EQ(panel.InfoERR, "Erreur n°  8032");
}

// A board with more relays (identifier 8) gets outputs 3 and 4 as its relays 3 and 4, once it
// has answered: painted, paced, confirmed, commanded again and switched off as relays 1 and 2.
TEST_F(RelayTest, ABoardWithMoreRelaysDrivesOutputs3And4AsRelays1And2OnceItAnswered) {
    link.module = SimulatedModule(0, false, 4);
    ports.select(1);
    outputs.SetOutputs(0, 0, kOn, 0); // not asked yet: relay 3 waits
    EXPECT_EQ(link.bytes(), (Bytes{0x6F, 0x70}));
    EXPECT_EQ(panel.moduleRelays, 2);
    EXPECT_EQ(panel.LedOut[2], Indicator::Off);
    link.sent.clear();
    relays.keepInStep();
    EXPECT_EQ(panel.moduleRelays, 4);
    EXPECT_EQ(statusToolTip(panel), "Module USB-RLY08 (4 relais pilotés), version 1");
    EXPECT_EQ(link.bytes(), (Bytes{0x67, 0x72}));
    ASSERT_EQ(link.sent.size(), 4u); // 0x5A, the two relays 0.15 s apart, then 0x5B
    EXPECT_NEAR(link.sent[2].at - link.sent[1].at, 0.15, 1e-9);
    EXPECT_EQ(link.sent[3].byte, kGetRelayStates);
    EXPECT_EQ(link.module.states(), 0b0100);

    link.sent.clear();
    pump.yields = 0;
    link.onWrite = [this](uint8_t byte) { // each indicator is painted before its byte leaves
        const int relay = byte >= kRelay1Off ? byte - kRelay1Off : byte - kRelay1On;
        if (byte != kGetRelayStates) {
            EXPECT_EQ(panel.LedOut.at(relay), byte < kRelay1Off ? Indicator::On : Indicator::Off);
        }
    };
    const double pausedBefore = clock.pausedSeconds();
    const SwitchResult result = outputs.SetOutputs(kOn, 0, kOn, kOn);
    EXPECT_EQ(link.bytes(), (Bytes{0x65, 0x70, 0x67, 0x68}));
    for (size_t k = 1; k < 4; ++k) {
        EXPECT_NEAR(link.sent[k].at - link.sent[k - 1].at, 0.15, 1e-9);
    }
    EXPECT_NEAR(clock.pausedSeconds() - pausedBefore, 0.6, 1e-9);
    EXPECT_EQ(pump.yields, 4);
    EXPECT_EQ(result.relays, 4);
    EXPECT_EQ(result.written, (std::array<bool, 4>{true, true, true, true}));
    link.onWrite = nullptr;
    relays.keepInStep(); // confirmed: bits 0, 2 and 3
    EXPECT_EQ(link.sent.back().byte, kGetRelayStates);
    EXPECT_EQ(link.module.states(), 0b1101);
    EXPECT_EQ(panel.InfoERR, "Init COM1:4800,N,8,1 Ok");

    // Relay 4 drops (a power dip): found at the next second's question, commanded again.
    link.module.setRelay(4, false);
    journal.sentences.clear();
    clock.advance(1);
    relays.keepInStep();
    EXPECT_EQ(panel.InfoERR, "Erreur n°  8032");
    EXPECT_EQ(journal.sentences, Texts{"Relais 4 trouvé au repos (commandé en marche)"});
    link.sent.clear();
    relays.keepInStep();
    EXPECT_EQ(link.bytes(), Bytes{0x68});
    EXPECT_EQ(panel.InfoERR, "Init COM1:4800,N,8,1 Ok");
    EXPECT_EQ(journal.sentences.back(), "Commandes relais rétablies : Init COM1:4800,N,8,1 Ok");

    // "Désactivé": the relays on are switched off, 3 and 4 included, before the port closes.
    link.sent.clear();
    ports.select(0);
    EXPECT_EQ(link.bytes(), (Bytes{0x6F, 0x71, 0x72}));
    EXPECT_EQ(moduleDescription(9, 2), "Module USB-RLY16 (4 relais pilotés), version 2");
    EXPECT_EQ(moduleDescription(15, 2), "Module USB-RLY16L (4 relais pilotés), version 2");
}

// A USB-RLY02, another device, or one that does not answer (even where a bigger board answered
// before) gets nothing for outputs 3 and 4, whose flags are still kept; an answer with their bits
// set is no answer.
TEST_F(RelayTest, ATwoRelayModuleGetsNothingForOutputs3And4) {
    link.module = SimulatedModule(0, false, 4);
    ports.select(1);
    relays.keepInStep();
    EXPECT_EQ(panel.moduleRelays, 4);
    link.loseDevice(); // a device that does not answer plugged in instead
    link.answer = [](uint8_t) { return Bytes{}; };
    relays.keepInStep();
    EXPECT_EQ(panel.moduleRelays, 2);
    clock.advance(0.35);
    relays.keepInStep();
    EXPECT_EQ(statusToolTip(panel), kModuleSilentNote);
    link.module = SimulatedModule();
    for (const uint8_t identifier : {10, 7}) {
        link.answer = [&](uint8_t byte) {
            return byte == kGetVersion ? Bytes{identifier, 1} : link.module.receive(byte);
        };
        ports.select(0);
        ports.select(1);
        link.sent.clear();
        pump.yields = 0;
        const double pausedBefore = clock.pausedSeconds();
        const SwitchResult result = outputs.SetOutputs(kOn, 0, kOn, kOn);
        for (int tick = 0; tick < 10; ++tick) {
            relays.keepInStep();
            clock.advance(0.2);
        }
        EXPECT_EQ(link.bytes(), (Bytes{0x65, 0x70})) << int{identifier};
        EXPECT_NEAR(clock.pausedSeconds() - pausedBefore, 0.3, 1e-9);
        EXPECT_EQ(pump.yields, 2);
        EXPECT_EQ(result.relays, 2);
        EXPECT_EQ(state.OutputState, (Flags{0, kOn, 0, kOn, kOn}));
        EXPECT_EQ(panel.LedOut[2], Indicator::Off);
        EXPECT_EQ(panel.InfoERR, "Init COM1:4800,N,8,1 Ok");
    }
    link.answer = [&](uint8_t byte) { // relay 3's bit set: not a two-relay module's answer
        return byte == kGetRelayStates ? Bytes{0b101} : link.module.receive(byte);
    };
    clock.advance(1);
    relays.keepInStep();
    EXPECT_EQ(panel.InfoERR, "Erreur n°  8033");
    link.sent.clear();
    ports.select(0);
    EXPECT_EQ(link.bytes(), Bytes{0x6F});
}

} // namespace
} // namespace quorel
