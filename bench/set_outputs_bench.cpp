#include "platform/posix/system_clock.h"
#include "relay/outputs.h"

#include "tests/support/fakes.h"

#include <benchmark/benchmark.h>

namespace quorel {
namespace {

class DiscardingLink final : public SerialLink {
  public:
    bool isOpen() const override { return true; }
    SerialError setPortNumber(int16_t) override { return SerialError::None; }
    SerialError setParameters(const std::string&) override { return SerialError::None; }
    SerialError open() override { return SerialError::None; }
    void close() override {}
    SerialError writeByte(uint8_t) override {
        ++written;
        return SerialError::None;
    }
    SerialError reconnect() override { return SerialError::None; }
    uint32_t openings() const override { return 1; }
    long written = 0;
};

class EnabledTimer final : public Timer {
  public:
    void setEnabled(bool) override {}
    bool isEnabled() const override { return true; }
};

// The two 0.15 s pauses must sleep: the CPU time of a call stays far below its wall time.
void BM_SetOutputsCpuTime(benchmark::State& bench) {
    SystemClock clock;
    DiscardingLink link;
    test::FakeEventPump pump;
    EnabledTimer timer;
    test::SilentView view;
    SchedulerState state;
    RelayPanel panel;
    test::RecordingJournal journal;
    RelayLink relays(link, clock, state, panel, view, journal);
    Outputs outputs(state, panel, relays, pump, clock, timer, view);
    int16_t flag = kOn;
    for (auto _ : bench) {
        outputs.SetOutputs(flag, 0, 0, 0);
        flag = flag == kOn ? kOff : kOn;
    }
    if (link.written != 2 * static_cast<long>(bench.iterations())) {
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
