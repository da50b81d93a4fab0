// The scheduler's 200 ms tick on the toolkit-free loop: how late each tick of the phased timer
// comes after the start of its slot, and the processor time the program takes meanwhile while
// it does nothing else (each tick only notes its time). Targets: p99 lateness at most 1 ms,
// at most 0.1 % of a core.

#include "platform/phased_timer.h"
#include "platform/posix/poll_event_loop.h"
#include "platform/posix/poll_one_shot_timer.h"
#include "platform/posix/system_clock.h"
#include "tests/support/clock_seconds.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdio>
#include <vector>

namespace quorel {
namespace {

constexpr double kRunSeconds = 10;

double percentile(std::vector<double> values, double fraction) {
    std::sort(values.begin(), values.end());
    const size_t rank = static_cast<size_t>(std::ceil(fraction * values.size()));
    return values[std::clamp<size_t>(rank, 1, values.size()) - 1];
}

// Milliseconds from the start of the nearest slot to the tick at `microseconds`: negative for a
// tick that came before its slot (the wall clock slewed against the monotonic one).
double lateness(int64_t microseconds) {
    const int64_t shifted = microseconds - PhasedTimer::kOffsetMicroseconds;
    const int64_t past = shifted % PhasedTimer::kPeriodMicroseconds;
    const int64_t nearest = past > PhasedTimer::kPeriodMicroseconds / 2
                                ? past - PhasedTimer::kPeriodMicroseconds
                                : past;
    return static_cast<double>(nearest) / 1000.0;
}

void BM_PhasedTickLateness(benchmark::State& bench) {
    SystemClock clock;
    PollEventLoop loop;
    PollOneShotTimer slotTimer(loop);
    std::vector<int64_t> ticks;
    ticks.reserve(static_cast<size_t>(kRunSeconds * 5) + 10);
    PhasedTimer timer(slotTimer, clock, [&] { ticks.push_back(clock.wallMicroseconds()); });
    double cpuSeconds = 0;
    double wallSeconds = 0;
    for (auto _ : bench) {
        const double cpuBefore = test::secondsOf(CLOCK_PROCESS_CPUTIME_ID);
        const double start = test::monotonicNow();
        const double end = start + kRunSeconds;
        timer.setEnabled(true);
        for (double left; (left = end - test::monotonicNow()) > 0;) {
            loop.runOnce(left);
        }
        timer.setEnabled(false);
        wallSeconds += test::monotonicNow() - start;
        cpuSeconds += test::secondsOf(CLOCK_PROCESS_CPUTIME_ID) - cpuBefore;
    }
    if (ticks.size() < static_cast<size_t>(kRunSeconds * 5) - 2) {
        bench.SkipWithError("ticks were missed");
        return;
    }
    std::vector<double> late;
    for (const int64_t tick : ticks) {
        late.push_back(lateness(tick));
    }
    const double p50 = percentile(late, 0.50);
    const double p99 = percentile(late, 0.99);
    const double max = *std::max_element(late.begin(), late.end());
    const double cpuPercent = 100.0 * cpuSeconds / wallSeconds;
    bench.counters["ticks"] = static_cast<double>(ticks.size());
    bench.counters["p50_ms"] = p50;
    bench.counters["p99_ms"] = p99;
    bench.counters["max_ms"] = max;
    bench.counters["cpu_percent"] = cpuPercent;
    std::printf("tick lateness over %zu ticks: p50 %.3f ms, p99 %.3f ms, max %.3f ms (target p99 "
                "<= 1 ms); processor %.4f %% of a core (target <= 0.1 %%)\n",
                ticks.size(), p50, p99, max, cpuPercent);
}
BENCHMARK(BM_PhasedTickLateness)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);

} // namespace
} // namespace quorel

BENCHMARK_MAIN();
