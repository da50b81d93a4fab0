#include "relay/outputs.h"
#include "schedule/record_writer.h"
#include "schedule/tick.h"
#include "schedule/weekday.h"
#include "tests/support/fake_clock.h"
#include "tests/support/fakes.h"
#include "tests/support/recording_serial_link.h"
#include "tests/support/temp_folder.h"

#include <functional>
#include <gtest/gtest.h>

namespace quorel {
namespace {

using Bytes = std::vector<uint8_t>;
using Flags = std::array<int16_t, 5>;

// The tick driving the real SetOutputs over a recording link, on Monday 22 June 2020.
class TickTest : public ::testing::Test {
  protected:
    TickTest() {
        link.open();
        timer.setEnabled(true);
        relays.portOpened();
        relays.keepInStep(); // the relays set off as the port opens
        link.sent.clear();
    }
    // Writes a day file of (output, time, duration) records and loads today's at h:m:s.
    void day(int index, std::initializer_list<std::array<const char*, 3>> entries) {
        std::string bytes;
        for (const auto& e : entries) {
            writeRecord(bytes, {std::string(e[0]), std::string(e[1]), std::string(e[2])});
        }
        folder.write("Quorel." + std::to_string(index), bytes);
    }
    void at(int h, int m, double s) {
        clock.setTime(h, m, s);
        LoadTodayTable(state.today, paths.DayFilePrefix, CurrentWeekday(clock) - 1);
    }

    test::TempFolder folder;
    ProgramPaths paths = ProgramPaths::inFolder(folder.path());
    test::FakeClock clock;
    test::RecordingSerialLink link{&clock};
    test::FakeEventPump pump;
    test::FakeTimer timer;
    test::RecordingView view;
    SchedulerState state;
    SchedulerCaptions captions;
    RelayPanel panel;
    RelayLink relays{link, clock, state, panel, view};
    Outputs outputs{state, panel, relays, pump, clock, timer, view};
    SchedulerTick tick{state, captions, clock, pump, view, paths, outputs};
};

TEST_F(TickTest, EntrySwitchesOnAtEachTickOfItsSecondAndOffAfterItsDuration) {
    day(0, {{"1", "07:45:00", "5"}});
    at(7, 44, 59.9);
    tick.TimerSat_Timer();
    EXPECT_EQ(state.ScanSlot, 601);
    EXPECT_EQ(clock.clockTextReads(), 601); // the clock label, then once per slot

    clock.setTime(7, 45, 0.1);
    tick.TimerSat_Timer();
    EXPECT_EQ(captions.LblHeure, "07:45:00");
    EXPECT_EQ(state.ScanSlot, 1);
    EXPECT_EQ(captions.LblMaxi[0], "5");
    EXPECT_EQ(captions.LblTemp[0], "--:--");
    tick.TimerSat_Timer(); // 07:45:00.4: switched on again, the duration counts from here
    EXPECT_EQ(link.bytes(), (Bytes{0x65, 0x70, 0x65, 0x70}));
    EXPECT_FLOAT_EQ(state.OutputStartTime[1], 7 * 3600 + 45 * 60 + 0.4f);

    clock.advance(4.5);
    tick.TimerSat_Timer();
    EXPECT_EQ(captions.LblTemp[0], "00:04");
    clock.advance(5 - (clock.monotonicSeconds() - *state.outputStartMonotonic[1]));
    tick.TimerSat_Timer(); // exactly 5 s
    EXPECT_EQ(state.OutputState[1], kOff);
    EXPECT_EQ(link.bytes(), (Bytes{0x65, 0x70, 0x65, 0x70, 0x6F, 0x70}));
}

TEST_F(TickTest, EveryEntryDueInTheSecondRingsAndTheFirstPerOutputGivesTheDuration) {
    day(0, {{"2", "08:00:01", "3"}, {"1", "08:00:01", "9"}, {"2", "08:00:01", "4"}});
    at(8, 0, 1);
    state.today.TodayOutput[1] = 7; // refused by the loader; passed over, the scan goes on
    state.today.TodayOutput[4] = 2;
    state.today.TodayTime[4] = "08:00:01";
    state.today.TodayDuration[4] = 6;
    tick.TimerSat_Timer();
    EXPECT_EQ(state.ScanSlot, 2);
    EXPECT_EQ(state.OutputState, (Flags{0, kOn, kOn, 0, 0}));
    EXPECT_EQ(captions.LblMaxi, (std::array<std::string, 4>{"9", "4", "0", "0"}));
    EXPECT_EQ(link.bytes(), (Bytes{0x65, 0x66})); // once, for the combined state
}

TEST_F(TickTest, TodaysFileIsReadAgainOnlyWhenItOrTheDayChanged) {
    day(0, {{"1", "08:00:30", "5"}});
    clock.setTime(8, 0, 0);
    tick.TimerSat_Timer();
    EXPECT_EQ(state.today.TodayTime[1], "08:00:30");
    state.today.TodayTime[1] = "kept"; // so that a needless reload shows
    tick.TimerSat_Timer();
    clock.setTime(8, 1, 0);
    tick.TimerSat_Timer();
    EXPECT_EQ(state.today.TodayTime[1], "kept");
    day(0, {{"1", "08:02:30", "15"}}); // saved again
    clock.setTime(8, 2, 0);
    tick.TimerSat_Timer();
    EXPECT_EQ(state.today.TodayTime[1], "08:02:30");
    state.today.TodayTime[1] = "kept";
    clock.set(LocalDate{2020, 6, 29}, 8 * 3600 + 3 * 60); // a week later, the same file
    tick.TimerSat_Timer();
    EXPECT_EQ(state.today.TodayTime[1], "kept");
    clock.set(LocalDate{2020, 6, 30}, 8 * 3600 + 3 * 60); // Tuesday: no file
    tick.TimerSat_Timer();
    EXPECT_EQ(state.today.TodayTime[1], "");
}

TEST_F(TickTest, DurationZeroAndOutputsThreeAndFour) {
    day(0, {{"3", "09:00:00", "0"}, {"4", "09:00:01", "2"}});
    at(9, 0, 0);
    tick.TimerSat_Timer(); // on, then off in the same tick; only relays 1 and 2 get bytes
    EXPECT_EQ(state.OutputState[3], kOff);
    EXPECT_EQ(link.bytes(), (Bytes{0x6F, 0x70, 0x6F, 0x70}));
    clock.setTime(9, 0, 1);
    tick.TimerSat_Timer();
    EXPECT_EQ(state.OutputState[4], kOn);
    EXPECT_EQ(panel.LedOut[3], kLedOffColour);
    clock.advance(2);
    tick.TimerSat_Timer();
    EXPECT_EQ(state.OutputState[4], kOff);
}

TEST_F(TickTest, OutputSwitchedOnByHandIsTimedFromItsLastScheduledStart) {
    at(10, 0, 0.5);
    outputs.SetOutputs(kOn, 0, 0, 0); // never scheduled: off at the next tick
    tick.TimerSat_Timer();
    EXPECT_EQ(state.OutputState[1], kOff);

    day(0, {{"2", "10:00:02", "10"}});
    at(10, 0, 2);
    tick.TimerSat_Timer();
    outputs.SetOutputs(0, 0, 0, 0);
    clock.advance(3.5);
    outputs.SetOutputs(0, kOn, 0, 0);
    tick.TimerSat_Timer(); // 4.4 s after the scheduled start
    EXPECT_EQ(captions.LblTemp[1], "00:04");
    clock.advance(5.4);
    tick.TimerSat_Timer();
    EXPECT_EQ(state.OutputState[2], kOn);
    clock.advance(0.3);
    tick.TimerSat_Timer();
    EXPECT_EQ(state.OutputState[2], kOff);
}

TEST_F(TickTest, ReloadsAtSecondZeroAndCarriesAnOutputAcrossMidnight) {
    at(23, 59, 57);
    day(0, {{"1", "23:59:58", "5"}});
    tick.TimerSat_Timer(); // not second 00: the new file is not read
    EXPECT_EQ(state.today.TodayTime[1], "");
    at(23, 59, 58);
    tick.TimerSat_Timer();

    day(1, {{"2", "00:00:00", "60"}}); // Tuesday's
    clock.advance(1.8);
    tick.TimerSat_Timer();
    EXPECT_EQ(state.OutputState, (Flags{0, kOn, kOn, 0, 0}));
    EXPECT_EQ(captions.LblTemp[0], "00:02");
    clock.advance(2.7);
    tick.TimerSat_Timer();
    EXPECT_EQ(captions.LblHeure, "00:00:03");
    EXPECT_EQ(captions.LblTemp[0], "00:05");
    EXPECT_EQ(state.OutputState, (Flags{0, kOff, kOn, 0, 0}));
}

TEST_F(TickTest, ClockTextIsReadAfreshForEverySlot) {
    day(0, {{"1", "11:00:01", "5"}, {"2", "11:00:01", "5"}});
    at(11, 0, 0.95);
    clock.onClockTextRead = [this](int read) {
        if (read == 3) { // the second slot sees the next second
            clock.advance(0.1);
        }
    };
    tick.TimerSat_Timer();
    EXPECT_EQ(state.ScanSlot, 2);
    EXPECT_EQ(state.OutputState[2], kOn);
}

TEST_F(TickTest, TickRaisedInsideATickIsSkipped) {
    day(0, {{"1", "12:00:00", "1"}});
    at(12, 0, 0);
    pump.onYield = [this](int yield) {
        if (yield <= 3) { // bounded, so that a missing guard fails instead of recursing
            tick.TimerSat_Timer();
        }
    };
    tick.TimerSat_Timer();
    EXPECT_EQ(pump.yields, 3); // two relay bytes and the end of the tick
    EXPECT_EQ(state.ScanSlot, 1);
    EXPECT_EQ(state.OutputState[1], kOn);
    EXPECT_EQ(link.bytes(), (Bytes{0x65, 0x70}));
}

} // namespace
} // namespace quorel
