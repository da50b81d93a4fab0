#include "relay/relay_panel.h"
#include "tests/support/qt_window_station.h"

#include <QAction>
#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

namespace quorel {
namespace {

class SchedulerWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        station.clock.set(LocalDate{2020, 6, 22}, 7 * 3600 + 44 * 60 + 59.5); // a Monday
        station.folder.write("Quorel.0", "\"1\",\"07:45:00\",\"2\"\r\n");
        station.start();
    }
    QString text(const char* label) { return station.find<QLabel>(label)->text(); }
    test::WindowStation station;
};

TEST_F(SchedulerWindow, ThePortChoiceStartsTheSchedulerAndTheWindowShowsIt) {
    QTest::mouseClick(station.find<QRadioButton>("PortCom_1"), Qt::LeftButton);
    EXPECT_EQ(text("InfoERR"), "Init COM1:4800,N,8,1 Ok");
    EXPECT_TRUE(station.timer.isEnabled());

    station.clock.advance(0.6);
    station.program.tick.TimerSat_Timer();
    EXPECT_EQ(text("LblHeure"), "07:45:00");
    EXPECT_EQ(text("LblMaxi_0"), "2");
    EXPECT_EQ(text("LblTemp_0"), "--:--");
    EXPECT_TRUE(station.find<QFrame>("LedOut_0")->styleSheet().contains("#00ff00"));
    EXPECT_EQ(station.link.bytes(), (std::vector<uint8_t>{kRelay1On, kRelay2Off}));

    station.clock.advance(2);
    station.program.tick.TimerSat_Timer();
    EXPECT_TRUE(station.find<QFrame>("LedOut_0")->styleSheet().contains("#00c000"));

    QTest::mouseClick(station.find<QRadioButton>("PortCom_0"), Qt::LeftButton);
    EXPECT_EQ(text("InfoERR"), "Port COM Close OK !");
    EXPECT_FALSE(station.timer.isEnabled());
}

TEST_F(SchedulerWindow, ManualControlsShowTheirState) {
    QTest::mouseClick(station.find<QRadioButton>("PortCom_2"), Qt::LeftButton);
    auto* relay = station.find<QPushButton>("CmdRelais_0");
    QTest::mouseClick(relay, Qt::LeftButton);
    EXPECT_TRUE(relay->styleSheet().contains("#ff8080"));
    QTest::mouseClick(relay, Qt::LeftButton);
    EXPECT_TRUE(relay->styleSheet().isEmpty());

    auto* s2 = station.find<QCheckBox>("CheckS_1");
    QTest::mouseClick(s2, Qt::LeftButton);
    EXPECT_TRUE(s2->isChecked());
    EXPECT_TRUE(station.find<QFrame>("LedOut_1")->styleSheet().contains("#00ff00"));
    EXPECT_EQ(station.link.bytes(),
              (std::vector<uint8_t>{kRelay1On, kRelay1Off, kRelay1Off, kRelay2On}));
}

TEST_F(SchedulerWindow, AutoRunMenuKeepsItsCheckMarkFromTheLogic) {
    auto* autorun = station.window.findChild<QAction*>("mnuautorun");
    autorun->trigger();
    EXPECT_TRUE(autorun->isChecked());
    EXPECT_TRUE(station.startup.present);
    autorun->trigger();
    EXPECT_FALSE(autorun->isChecked());
    EXPECT_FALSE(station.startup.present);
}

TEST_F(SchedulerWindow, ClosingRunsTheShutDownOnce) {
    int ended = 0;
    station.window.onEnded = [&ended] { ++ended; };
    QTest::mouseClick(station.find<QRadioButton>("PortCom_3"), Qt::LeftButton);
    station.window.findChild<QAction*>("MnuQuit")->trigger();
    station.window.close();
    EXPECT_EQ(ended, 1);
    EXPECT_EQ(text("InfoERR"), "Port COM Close OK !");
    EXPECT_FALSE(station.link.isOpen());
    EXPECT_EQ(station.folder.read("Quorel.ini"), "3\r\n");
}

} // namespace
} // namespace quorel
