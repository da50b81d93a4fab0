// The window's event latency while a relay switch runs: another thread posts timestamped events
// every 5 ms during SetOutputs (two relay bytes, each followed by a 0.15 s pause), and each is
// timed from its posting to its handling. The sleeping clock shows how long the window froze
// when the pause slept; the event-loop clock is the one the program uses.

#include "bench/switching_outputs.h"
#include "platform/posix/system_clock.h"
#include "platform/qt/event_loop_clock.h"
#include "tests/support/qt_event_loop.h"

#include <QEvent>
#include <algorithm>
#include <atomic>
#include <benchmark/benchmark.h>
#include <cmath>
#include <thread>
#include <time.h>

namespace quorel {
namespace {

double monotonicNow() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

double threadCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

struct StampedEvent final : QEvent {
    static inline const Type kType = static_cast<Type>(QEvent::registerEventType());
    StampedEvent() : QEvent(kType), posted(monotonicNow()) {}
    double posted;
};

// Stands for the window: records how long each event waited.
struct Receiver final : QObject {
    bool event(QEvent* event) override {
        if (event->type() != StampedEvent::kType) {
            return QObject::event(event);
        }
        waits.push_back((monotonicNow() - static_cast<StampedEvent*>(event)->posted) * 1000);
        return true;
    }
    std::vector<double> waits;
};

double percentile(std::vector<double> values, double fraction) {
    std::sort(values.begin(), values.end());
    const size_t rank = static_cast<size_t>(std::ceil(fraction * values.size()));
    return values[std::clamp<size_t>(rank, 1, values.size()) - 1];
}

void BM_EventLatencyDuringASwitch(benchmark::State& bench, bool eventLoopPause) {
    test::ensureApplication();
    SystemClock system;
    QtEventPump pump;
    EventLoopClock eventLoopClock(system, pump);
    Clock& clock = eventLoopPause ? static_cast<Clock&>(eventLoopClock) : system;
    bench::SwitchingOutputs switching(clock, pump);
    Outputs& outputs = switching.outputs;
    Receiver window;
    double cpuSeconds = 0;
    int16_t flag = kOn;
    for (auto _ : bench) {
        std::atomic<bool> switching{true};
        std::thread poster([&] {
            while (switching) {
                QCoreApplication::postEvent(&window, new StampedEvent);
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
        });
        const double cpuBefore = threadCpuSeconds();
        outputs.SetOutputs(flag, 0, 0, 0);
        cpuSeconds += threadCpuSeconds() - cpuBefore;
        switching = false;
        poster.join();
        QCoreApplication::processEvents(); // the events posted last wait for the next turn
        flag = flag == kOn ? kOff : kOn;
    }
    bench.counters["p50_ms"] = percentile(window.waits, 0.50);
    bench.counters["p99_ms"] = percentile(window.waits, 0.99);
    bench.counters["max_ms"] = percentile(window.waits, 1.0);
    bench.counters["cpu_ms_per_switch"] =
        cpuSeconds * 1000 / static_cast<double>(bench.iterations());
}
BENCHMARK_CAPTURE(BM_EventLatencyDuringASwitch, sleeping_pause, false)
    ->Iterations(10)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_EventLatencyDuringASwitch, event_loop_pause, true)
    ->Iterations(10)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

} // namespace
} // namespace quorel

BENCHMARK_MAIN();
