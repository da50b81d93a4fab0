// The station alone, measured from outside as the module, its consoles and the system see it:
// - fire latency: 25 entries 2 s apart, from the start of each entry's second to its relay-on
//   byte at the module (a pseudo-terminal that answers as the module does), with no console and
//   with 8 consoles connected; with them, from that byte to the state that shows the output on
//   at each console;
// - idle: 600 entries none of which is due, the port open, the CPU time over 30 s as a share of
//   one core, and the most resident memory.

#include "bench/measures.h"
#include "relay/relay_bytes.h"
#include "relay/simulated_module.h"
#include "tests/support/channel_client.h"
#include "tests/support/wine_program.h"

#include <QProcess>
#include <atomic>
#include <benchmark/benchmark.h>
#include <thread>

namespace quorel {
namespace {

using namespace test;

constexpr int kEntries = 25;

// The station on a data folder of its own, COM1 chosen, COM1 the pseudo-terminal.
struct Station {
    Station() {
        data.write("VornAlmare.ini", "[Ports]\nCOM1=" + module.slavePath() + "\n");
        data.write("Quorel.ini", "1\r\n");
    }
    void writeEntries(const std::vector<double>& seconds, const char* duration) {
        std::string bytes;
        for (double second : seconds) {
            bytes += record("1", second, duration);
        }
        for (int day = 0; day < 7; ++day) {
            data.write("Quorel." + std::to_string(day), bytes);
        }
    }
    void start() {
        process.start(QUOREL_STATION, {"--data-folder", QString::fromStdString(data.path()),
                                       "--channel", QString::fromStdString(channel())});
        process.waitForStarted();
    }
    std::string channel() const { return data.file("quorel.sock"); }
    // Plays the module until end (wall time): records every byte, answers every question.
    std::vector<ReceivedByte> answerUntil(double end) {
        std::vector<ReceivedByte> all;
        SimulatedModule answering;
        for (double left; (left = end - wallNow()) > 0;) {
            for (const ReceivedByte& received : module.read(1, left)) {
                all.push_back(received);
                const std::vector<uint8_t> answer = answering.receive(received.byte);
                if (!answer.empty()) {
                    module.send(answer);
                }
            }
        }
        return all;
    }
    ~Station() {
        process.terminate();
        process.waitForFinished();
    }

    TempFolder data;
    PseudoTerminal module;
    QProcess process;
};

// A console that notes when each state showing output 1 on arrived, until stopped.
struct WatchingConsole {
    explicit WatchingConsole(const std::string& channel) : client(channel) {
        client.send({{"id", 1}, {"command", "hello"}});
        watcher = std::thread([this] {
            bool wasOn = false;
            while (!stop) {
                const Message state =
                    client.until([](const Message& m) { return m.contains("state"); }, 0.2);
                if (state.is_null()) {
                    continue;
                }
                const bool on = state["state"]["outputs"][0]["on"] == true;
                if (on && !wasOn) {
                    shownOn.push_back(wallNow());
                }
                wasOn = on;
            }
        });
    }
    ~WatchingConsole() {
        stop = true;
        watcher.join();
    }
    ChannelClient client;
    std::vector<double> shownOn;
    std::atomic<bool> stop{false};
    std::thread watcher;
};

void BM_StationFireLatency(benchmark::State& bench) {
    Station station;
    const double first = std::ceil(wallNow()) + 4;
    std::vector<double> seconds;
    for (int i = 0; i < kEntries; ++i) {
        seconds.push_back(first + 2.0 * i);
    }
    station.writeEntries(seconds, "1");
    station.start();
    std::vector<std::unique_ptr<WatchingConsole>> consoles;
    for (int i = 0; i < bench.range(0); ++i) {
        consoles.push_back(std::make_unique<WatchingConsole>(station.channel()));
    }
    std::vector<ReceivedByte> received;
    for (auto _ : bench) {
        received = station.answerUntil(seconds.back() + 1.5);
    }
    std::vector<double> latencies;
    std::vector<double> relayOn;
    for (double second : seconds) {
        for (const ReceivedByte& byte : received) {
            if (byte.byte == kRelay1On && byte.wall >= second && byte.wall < second + 1) {
                latencies.push_back((byte.wall - second) * 1000);
                relayOn.push_back(byte.wall);
                break;
            }
        }
    }
    if (latencies.size() != seconds.size()) {
        bench.SkipWithError("an entry's relay-on byte never arrived within its second");
        return;
    }
    bench.counters["p50_ms"] = bench::percentile(latencies, 0.5);
    bench.counters["p99_ms"] = bench::percentile(latencies, 0.99);
    std::vector<double> shown;
    for (const auto& console : consoles) {
        for (double byte : relayOn) {
            for (double at : console->shownOn) {
                if (at >= byte - 0.5 && at < byte + 1) {
                    shown.push_back((at - byte) * 1000);
                    break;
                }
            }
        }
    }
    if (!consoles.empty()) {
        if (shown.size() != consoles.size() * relayOn.size()) {
            bench.SkipWithError("a console never showed an entry's output on");
            return;
        }
        bench.counters["shown_p50_ms"] = bench::percentile(shown, 0.5);
        bench.counters["shown_p99_ms"] = bench::percentile(shown, 0.99);
    }
}

void BM_StationIdle(benchmark::State& bench) {
    Station station;
    std::vector<double> seconds;
    for (int i = 0; i < 600; ++i) {
        seconds.push_back(wallNow() + 3600 + 60.0 * i);
    }
    station.writeEntries(seconds, "5");
    station.start();
    std::thread module([&] { station.answerUntil(wallNow() + 41); });
    for (auto _ : bench) {
        bench.counters["cpu_percent"] = bench::idleCpuPercent(station.process.processId());
        bench.counters["peak_rss_mib"] = bench::peakResidentMiB(station.process.processId());
    }
    module.join();
}

// Argument: the consoles connected.
BENCHMARK(BM_StationFireLatency)->Arg(0)->Arg(8)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(BM_StationIdle)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace
} // namespace quorel

int main(int argc, char** argv) {
    quorel::test::ensureApplication();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
