#include "platform/posix/system_clock.h"
#include "schedule/record_writer.h"
#include "schedule/scheduler_tick.h"
#include "schedule/today_reload.h"
#include "tests/support/temp_folder.h"

#include "tests/support/fakes.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <random>

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
    double switchSeconds() const override { return 0.3; }
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

// The scheduler's files as large as it reads them, filled three ways: random bytes; the shortest
// lines that are records (",,"), each of which costs its three fields; and records of the
// file's own kind. Each load reads and parses the file, as the tick of second 00 does when it
// changed: the figure bounds how long a file can hold the event loop.
enum class Filling { Random, ShortestRecords, OwnRecords };

std::string filledUpTo(int64_t bound, Filling filling, const std::string& ownRecord) {
    std::string bytes;
    bytes.reserve(static_cast<size_t>(bound));
    std::mt19937 random(7);
    while (static_cast<int64_t>(bytes.size()) < bound) {
        switch (filling) {
        case Filling::Random:
            bytes += static_cast<char>(random());
            break;
        case Filling::ShortestRecords:
            bytes += ",,\n";
            break;
        case Filling::OwnRecords:
            bytes += ownRecord;
            break;
        }
    }
    bytes.resize(static_cast<size_t>(bound));
    return bytes;
}

void BM_LoadAFileAtItsBound(benchmark::State& bench) {
    const auto file = bench.range(0);
    const auto filling = static_cast<Filling>(bench.range(1));
    test::TempFolder folder;
    const ProgramPaths paths = ProgramPaths::inFolder(folder.path());
    const TimetableNames names = {{7, "Examens"}};
    TodayTable table;
    size_t loaded = 0;
    const auto load = [&]() -> size_t {
        switch (file) {
        case 0:
            LoadTodayTable(table, paths.DayFilePrefix, 0);
            return static_cast<size_t>(filledSlots(table));
        case 1:
            return loadTimetableNames(paths.TimetableNamesPath).size();
        case 2:
            return loadDatedPeriods(paths.DatedPeriodsPath, names).size();
        default:
            return loadClosedPeriods(paths.ClosedPeriodsPath).size();
        }
    };
    switch (file) {
    case 0:
        folder.write("Quorel.0",
                     filledUpTo(kDayFileMaxBytes, filling, "\"1\",\"07:45:00\",\"5\"\r\n"));
        bench.SetLabel("Quorel.0, 64 Kio");
        break;
    case 1:
        folder.write("Quorel.noms",
                     filledUpTo(kTimetableNamesMaxBytes, filling, "\"7\",\"Examens\"\r\n"));
        bench.SetLabel("Quorel.noms, 16 Kio");
        break;
    case 2:
        folder.write("Quorel.horaires", filledUpTo(kDatedPeriodsMaxBytes, filling,
                                                   "\"2027-06-14\",\"2027-06-18\",\"7\"\r\n"));
        bench.SetLabel("Quorel.horaires, 64 Kio");
        break;
    default:
        folder.write("Quorel.conges",
                     filledUpTo(kClosedPeriodsMaxBytes, filling,
                                "\"2026-12-19\",\"2027-01-03\",\"Vacances de No\xEBl\"\r\n"));
        bench.SetLabel("Quorel.conges, 64 Kio");
        break;
    }
    for (auto _ : bench) {
        loaded = load();
        benchmark::DoNotOptimize(loaded);
    }
    if (filling == Filling::OwnRecords && loaded == 0) {
        bench.SkipWithError("the file at its bound was refused");
    }
}
BENCHMARK(BM_LoadAFileAtItsBound)
    ->ArgsProduct({{0, 1, 2, 3}, {0, 1, 2}})
    ->Unit(benchmark::kMillisecond);

} // namespace
} // namespace quorel

BENCHMARK_MAIN();
