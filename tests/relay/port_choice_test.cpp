#include "relay/status_text.h"
#include "tests/relay/relay_rig.h"

namespace quorel {
namespace {

using PortChoiceTest = RelayTest;
using Calls = std::vector<std::string>;

TEST(StatusTextTest, NumberHasASignPosition) {
    EXPECT_EQ(errorStatusText(8013), "Erreur n°  8013");
    EXPECT_EQ(errorStatusText(0), "Erreur n°  0");
    EXPECT_EQ(errorStatusText(-5), "Erreur n° -5");
}

// Logs its changes among the link's calls, so that their order can be checked.
class LoggingTimer final : public Timer {
  public:
    explicit LoggingTimer(Calls& log) : log_(log) {}
    void setEnabled(bool enabled) override {
        enabled_ = enabled;
        log_.push_back(enabled ? "timer on" : "timer off");
    }
    bool isEnabled() const override { return enabled_; }

  private:
    Calls& log_;
    bool enabled_ = false;
};

TEST_F(PortChoiceTest, StepsAndStatusTexts) {
    LoggingTimer loggingTimer(link.calls);
    PortChoice choice(panel, link, relays, loggingTimer, retryTimer, view);
    choice.select(0); // nothing open: no error
    choice.select(2);
    choice.select(2); // the open port again: kept open
    choice.select(4); // another port: the open one is closed first
    choice.select(0);
    EXPECT_EQ(panel.PortCom, 0);
    const std::string parameters = "parameters 4800,N,8,1";
    EXPECT_EQ(link.calls,
              (Calls{"timer off", "close", "port 2", parameters, "open", "timer on", "timer on",
                     "close", "port 4", parameters, "open", "timer on", "timer off", "close"}));
    EXPECT_EQ(view.shown,
              (Calls{"Port COM Close OK !", "Init COM2:4800,N,8,1 Ok", "Init COM2:4800,N,8,1 Ok",
                     "Init COM4:4800,N,8,1 Ok", "Port COM Close OK !"}));
    choice.select(7);
    EXPECT_EQ(panel.PortCom, 0);
}

TEST_F(PortChoiceTest, Error8013CarriesOnWithTheNextStep) {
    for (SerialError* step :
         {&link.setPortNumberError, &link.setParametersError, &link.openError}) {
        ports.select(0);
        link.calls.clear();
        view.shown.clear();
        *step = SerialError::LineNotApplied;
        ports.select(4);
        *step = SerialError::None;
        EXPECT_EQ(link.calls, (Calls{"port 4", "parameters 4800,N,8,1", "open"}));
        EXPECT_EQ(view.shown, (Calls{"Erreur n°  8013", "Init COM4:4800,N,8,1 Ok"}));
        EXPECT_TRUE(link.isOpen() && timer.isEnabled());
    }
}

TEST_F(PortChoiceTest, AnyOtherErrorEndsTheChoice) {
    const std::pair<SerialError*, size_t> steps[] = {
        {&link.setPortNumberError, 1}, {&link.setParametersError, 2}, {&link.openError, 3}};
    for (const auto& [step, callsMade] : steps) {
        link.calls.clear();
        *step = SerialError::DeviceMissing;
        ports.select(4);
        *step = SerialError::None;
        EXPECT_EQ(link.calls.size(), callsMade);
        EXPECT_EQ(panel.InfoERR, "Erreur n°  8020");
        EXPECT_FALSE(link.isOpen() || timer.isEnabled());
    }
    ports.select(1); // a failed switch leaves the scheduler as it was
    link.openError = SerialError::DeviceBusy;
    ports.select(2);
    EXPECT_EQ(panel.InfoERR, "Erreur n°  8021");
    EXPECT_FALSE(link.isOpen());
    EXPECT_TRUE(timer.isEnabled());
}

TEST_F(PortChoiceTest, PortThatWouldNotOpenIsTriedAgainUntilItOpens) {
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

} // namespace
} // namespace quorel
