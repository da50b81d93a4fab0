#include "bench/switching_outputs.h"
#include "platform/posix/system_clock.h"

#include <benchmark/benchmark.h>

namespace quorel {
namespace {

// The two 0.15 s pauses must sleep: the CPU time of a call stays far below its wall time.
void BM_SetOutputsCpuTime(benchmark::State& bench) {
    SystemClock clock;
    test::FakeEventPump pump;
    bench::SwitchingOutputs switching(clock, pump);
    Outputs& outputs = switching.outputs;
    int16_t flag = kOn;
    for (auto _ : bench) {
        outputs.SetOutputs(flag, 0, 0, 0);
        flag = flag == kOn ? kOff : kOn;
    }
    if (switching.link.written != 2 * static_cast<long>(bench.iterations())) {
        bench.SkipWithError("SetOutputs did not send two bytes per call");
    }
}
BENCHMARK(BM_SetOutputsCpuTime)
    ->MeasureProcessCPUTime()
    ->Iterations(6)
    ->Unit(benchmark::kMillisecond);

} // namespace
} // namespace quorel

BENCHMARK_MAIN();
