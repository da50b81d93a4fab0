#include "platform/posix/system_clock.h"
#include "schedule/record_writer.h"
#include "schedule/scheduler_tick.h"
#include "schedule/today_reload.h"
#include "tests/support/temp_folder.h"

#include "tests/support/fakes.h"

#include <benchmark/benchmark.h>
#include <cstdio>

namespace quorel {
namespace {

// Counts the switches the tick asks for.
class CountingSwitch final : public OutputSwitch {
  public:
    SwitchResult SetOutputs(int16_t, int16_t, int16_t, int16_t) override {
        ++switches;
        return {true, {true, true}};
    }
    void keepRelaysInStep() override {}
    long switches = 0;
};

// A full timetable whose times never come, in every day file, so the reload at second 00 keeps
// all 600 slots filled.
void writeFullDayFiles(const test::TempFolder& folder) {
    std::string bytes;
    for (int i = 0; i < TodayTable::kSlots; ++i) {
        char time[16];
        std::snprintf(time, sizeof time, "24:%02d:%02d", i / 60, i % 60);
        writeRecord(bytes, {std::string("1"), std::string(time), std::string("5")});
    }
    for (int day = 0; day < 7; ++day) {
        folder.write("Quorel." + std::to_string(day), bytes);
    }
}

void BM_TickWithFullTableAndNoMatch(benchmark::State& bench) {
    test::TempFolder folder;
    writeFullDayFiles(folder);
    const ProgramPaths paths = ProgramPaths::inFolder(folder.path());
    SystemClock clock;
    // Ticks within second 00 reload the day file; a run of under a second started away from it
    // never meets one.
    while (clock.secondsFieldText() >= "58" || clock.secondsFieldText() == "00") {
        clock.pause(0.1);
    }
    test::FakeEventPump pump;
    test::SilentView view;
    SchedulerState state;
    SchedulerCaptions captions;
    test::RecordingJournal journal;
    loadDay(state, systemFiles(), paths, clock.localDate(), journal);
    CountingSwitch outputs;
    SchedulerTick tick(state, captions, clock, pump, view, paths, outputs, journal);
    for (auto _ : bench) {
        tick.TimerSat_Timer();
    }
    if (outputs.switches != 0 || pump.yields != static_cast<int>(bench.iterations()) ||
        state.ScanSlot != TodayTable::kSlots + 1 || state.today.TodayTime[600].empty()) {
        bench.SkipWithError("a tick matched or was skipped, or the table was not full");
    }
}
BENCHMARK(BM_TickWithFullTableAndNoMatch)->Iterations(20000)->Unit(benchmark::kMicrosecond);

// A clock held at 08:00:00 on a Monday, as cheap to read as the real one.
class ClockAtSecondZero final : public Clock {
  public:
    std::string clockText() override { return "08:00:00"; }
    float secondsSinceMidnight() override { return 8 * 3600; }
    std::string secondsFieldText() override { return "00"; }
    LocalDate localDate() override { return {2020, 6, 22}; }
    LocalTimeStamp localTimeStamp() override { return {{2020, 6, 22}, "08:00:00.000"}; }
    double monotonicSeconds() override { return 0; }
    int64_t wallMicroseconds() override { return 0; }
    int utcOffsetSeconds() override { return 0; }
    void pause(double) override {}
};

// Every tick of second 00 looks at today's file; with a full, unchanged file that look must
// cost little, so that an entry at :00 is not made late by it.
void BM_TickAtSecondZeroWithAnUnchangedFullFile(benchmark::State& bench) {
    test::TempFolder folder;
    writeFullDayFiles(folder);
    const ProgramPaths paths = ProgramPaths::inFolder(folder.path());
    ClockAtSecondZero clock;
    test::FakeEventPump pump;
    test::SilentView view;
    SchedulerState state;
    SchedulerCaptions captions;
    test::RecordingJournal journal;
    loadDay(state, systemFiles(), paths, clock.localDate(), journal);
    CountingSwitch outputs;
    SchedulerTick tick(state, captions, clock, pump, view, paths, outputs, journal);
    for (auto _ : bench) {
        tick.TimerSat_Timer();
    }
    if (state.today.TodayTime[600].empty()) {
        bench.SkipWithError("the table was not full");
    }
}
BENCHMARK(BM_TickAtSecondZeroWithAnUnchangedFullFile)
    ->Iterations(5000)
    ->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace quorel

BENCHMARK_MAIN();
