// Fire latency: from the start of an entry's second to the arrival of its relay-on byte at the
// module, through the real phased timer, tick, SetOutputs and serial link over a pseudo-terminal,
// whose other side answers Quorel's questions as the module does. Two timetables: an entry of
// 0 s every 2 s, and an entry of 1 s every second, whose repeats within their second must not
// hold the next second's entry.

#include "platform/ini_settings_store.h"
#include "platform/phased_timer.h"
#include "platform/port_devices.h"
#include "platform/posix/serial_device.h"
#include "platform/posix/system_clock.h"
#include "platform/qt/qt_event_pump.h"
#include "platform/qt/qt_one_shot_timer.h"
#include "relay/device_serial_link.h"
#include "relay/outputs.h"
#include "relay/relay_bytes.h"
#include "relay/simulated_module.h"
#include "schedule/record_writer.h"
#include "schedule/scheduler_tick.h"
#include "schedule/weekday.h"
#include "tests/support/clock_seconds.h"
#include "tests/support/fakes.h"
#include "tests/support/pseudo_terminal.h"
#include "tests/support/qt_event_loop.h"
#include "tests/support/temp_folder.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <thread>

namespace quorel {
namespace {

constexpr int kEntries = 25;
constexpr int kFirstEntryIn = 3;

std::string localTimeText(time_t second) {
    std::tm local{};
    localtime_r(&second, &local);
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", local.tm_hour, local.tm_min, local.tm_sec);
    return text;
}

// Relay 1 entries of the given duration, secondsApart apart, in every day file so that a run
// across midnight keeps them.
std::vector<time_t> writeDayFiles(const test::TempFolder& folder, int secondsApart, int duration) {
    const time_t first = static_cast<time_t>(std::ceil(test::wallNow())) + kFirstEntryIn;
    std::vector<time_t> seconds;
    std::string bytes;
    for (int i = 0; i < kEntries; ++i) {
        seconds.push_back(first + static_cast<time_t>(i) * secondsApart);
        writeRecord(bytes,
                    {std::string("1"), localTimeText(seconds.back()), std::to_string(duration)});
    }
    for (int day = 0; day < 7; ++day) {
        folder.write("Quorel." + std::to_string(day), bytes);
    }
    return seconds;
}

// The first relay-1-on byte within each entry's second, in milliseconds after its start.
std::vector<double> latencies(const std::vector<time_t>& seconds,
                              const std::vector<test::ReceivedByte>& received) {
    std::vector<double> result;
    for (time_t second : seconds) {
        for (const test::ReceivedByte& byte : received) {
            const double after = byte.wall - static_cast<double>(second);
            if (byte.byte == kRelay1On && after >= 0 && after < 1) {
                result.push_back(after * 1000.0);
                break;
            }
        }
    }
    return result;
}

// Plays the module for the given time: records every byte and answers the questions as a
// USB-RLY02 (its identifier and version; its relays' states as the bytes set them).
std::vector<test::ReceivedByte> answerAsTheModule(test::PseudoTerminal& module, double seconds,
                                                  int& questions) {
    std::vector<test::ReceivedByte> all;
    SimulatedModule answering;
    const double end = test::monotonicNow() + seconds;
    for (double left; (left = end - test::monotonicNow()) > 0;) {
        for (const test::ReceivedByte& received : module.read(1, left)) {
            all.push_back(received);
            const std::vector<uint8_t> answer = answering.receive(received.byte);
            if (!answer.empty()) {
                module.send(answer);
                ++questions;
            }
        }
    }
    return all;
}

double percentile(std::vector<double> values, double fraction) {
    std::sort(values.begin(), values.end());
    const size_t rank = static_cast<size_t>(std::ceil(fraction * values.size()));
    return values[std::clamp<size_t>(rank, 1, values.size()) - 1];
}

void BM_FireLatency(benchmark::State& bench) {
    test::ensureApplication();
    test::TempFolder folder;
    const int secondsApart = static_cast<int>(bench.range(0));
    const std::vector<time_t> seconds =
        writeDayFiles(folder, secondsApart, static_cast<int>(bench.range(1)));
    const ProgramPaths paths = ProgramPaths::inFolder(folder.path());

    test::PseudoTerminal module;
    test::MemorySettingsStore store;
    store.values[std::string(kStoreApplication) + "/" + kPortsSection + "/COM1"] =
        module.slavePath();
    SystemClock clock;
    SystemSerialDevice device;
    DeviceSerialLink link(store, device, clock);
    if (link.setPortNumber(1) != SerialError::None ||
        link.setParameters(kLineParameters) != SerialError::None ||
        link.open() != SerialError::None) {
        bench.SkipWithError("the pseudo-terminal did not open");
        return;
    }

    QtEventPump pump;
    test::SilentView view;
    SchedulerState state;
    SchedulerCaptions captions;
    RelayPanel panel;
    LoadTodayTable(state.today, paths.DayFilePrefix,
                   static_cast<int16_t>(CurrentWeekday(clock) - 1));
    SchedulerTick* tickPointer = nullptr;
    QtOneShotTimer slotTimer;
    PhasedTimer timer(slotTimer, clock, [&] { tickPointer->TimerSat_Timer(); });
    test::RecordingJournal journal;
    RelayLink relays(link, clock, state, panel, view, journal);
    Outputs outputs(state, panel, relays, pump, clock, timer, view);
    SchedulerTick tick(state, captions, clock, pump, view, paths, outputs, journal);
    tickPointer = &tick;

    const double runSeconds = static_cast<double>(seconds.back()) + 2.0 - test::wallNow();
    std::vector<test::ReceivedByte> received;
    int questions = 0;
    for (auto _ : bench) {
        std::thread reader([&] { received = answerAsTheModule(module, runSeconds, questions); });
        timer.setEnabled(true);
        test::runEventsFor(static_cast<int>(runSeconds * 1000));
        timer.setEnabled(false);
        reader.join();
    }
    link.close();

    const std::vector<double> found = latencies(seconds, received);
    if (found.size() != seconds.size()) {
        bench.SkipWithError("an entry's relay-on byte never arrived within its second");
        return;
    }
    const double p50 = percentile(found, 0.50);
    const double p99 = percentile(found, 0.99);
    const double max = *std::max_element(found.begin(), found.end());
    bench.counters["entries"] = static_cast<double>(found.size());
    bench.counters["questions_answered"] = questions;
    const std::vector<std::string>& noted = journal.sentences;
    if (std::find(noted.begin(), noted.end(), "Module USB-RLY02, version 1") == noted.end() ||
        panel.InfoERRNumber != 0) {
        bench.SkipWithError("the module's answers were not taken");
        return;
    }
    bench.counters["p50_ms"] = p50;
    bench.counters["p99_ms"] = p99;
    bench.counters["max_ms"] = max;
    std::printf("fire latency over %zu entries %d s apart: p50 %.2f ms, p99 %.2f ms, max %.2f ms "
                "(target p99 <= 20 ms)\n",
                found.size(), secondsApart, p50, p99, max);
}
// Arguments: seconds between entries, their duration.
BENCHMARK(BM_FireLatency)
    ->Args({2, 0})
    ->Args({1, 1})
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kSecond);

} // namespace
} // namespace quorel

BENCHMARK_MAIN();
