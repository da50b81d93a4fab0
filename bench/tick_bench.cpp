#include "platform/system_clock.h"
#include "schedule/record_writer.h"
#include "schedule/tick.h"
#include "tests/support/temp_folder.h"

#include "tests/support/fakes.h"

#include <benchmark/benchmark.h>
#include <cstdio>

namespace quorel {
namespace {

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
    LoadTodayTable(state.today, paths.DayFilePrefix, 0);
    long switches = 0;
    SchedulerTick tick(state, captions, clock, pump, view, paths,
                       [&](int16_t, int16_t, int16_t, int16_t) { ++switches; });
    for (auto _ : bench) {
        tick.TimerSat_Timer();
    }
    if (switches != 0 || pump.yields != static_cast<int>(bench.iterations()) ||
        state.ScanSlot != TodayTable::kSlots + 1 || state.today.TodayTime[600].empty()) {
        bench.SkipWithError("a tick matched or was skipped, or the table was not full");
    }
}
BENCHMARK(BM_TickWithFullTableAndNoMatch)->Iterations(20000)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace quorel

BENCHMARK_MAIN();
