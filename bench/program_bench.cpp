// The built programs, measured from outside as a relay module and the system see them:
// - idle CPU: 600 entries none of which is due meanwhile, the port open on a pseudo-terminal, the
//   CPU time of the program's process over 30 s as a share of one core;
// - quorel.exe's fire latency under Wine: 25 entries 2 s apart on COM1 (a pseudo-terminal), from
//   the start of each entry's second to the arrival of its relay-on byte.
// The Wine measures run in the environment of the test of quorel.exe under Wine
// (tests/support/wine_program.h).

#include "bench/measures.h"
#include "relay/relay_bytes.h"
#include "tests/support/wine_program.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <fstream>
#include <sstream>
#include <thread>
#include <unistd.h>

namespace quorel {
namespace {

using namespace test;
using bench::idleCpuPercent;
using bench::percentile;

// Relay 1 entries of duration 0 in every day file, so that a run across midnight keeps them.
void writeDayFiles(const PortableCopy& quorel, const std::vector<double>& seconds) {
    std::string bytes;
    for (double second : seconds) {
        bytes += record("1", second, "0");
    }
    for (int day = 0; day < 7; ++day) {
        quorel.write("Quorel." + std::to_string(day), bytes);
    }
}

// quorel.exe in a folder of its own with COM1 chosen, COM1 a pseudo-terminal.
struct WineStation {
    WineStation() {
        com1.plugIn(module);
        quorel.write("Quorel.ini", "1\r\n");
    }
    ~WineStation() { com1.unplug(); }
    Com1 com1;
    PseudoTerminal module;
    PortableCopy quorel;
};

bool windowsBuildNamed(benchmark::State& bench) {
    if (windowsBuild().empty()) {
        bench.SkipWithError("QUOREL_WINDOWS_BUILD names no Windows build");
    }
    return !windowsBuild().empty();
}

void BM_WineFireLatency(benchmark::State& bench) {
    if (!windowsBuildNamed(bench)) {
        return;
    }
    WineStation wine;
    std::vector<double> seconds;
    const double first = std::floor(wallNow()) + 12; // Wine's start comes first
    for (int i = 0; i < 25; ++i) {
        seconds.push_back(first + 2.0 * i);
    }
    writeDayFiles(wine.quorel, seconds);
    std::vector<double> found;
    for (auto _ : bench) {
        wine.quorel.start();
        const auto received = wine.module.read(SIZE_MAX, seconds.back() + 1.5 - wallNow());
        for (double second : seconds) {
            for (const ReceivedByte& byte : received) {
                const double after = byte.wall - second;
                if (byte.byte == kRelay1On && after >= 0 && after < 1) {
                    found.push_back(after * 1000.0);
                    break;
                }
            }
        }
        wine.quorel.close();
    }
    if (found.size() != seconds.size()) {
        bench.SkipWithError("an entry's relay-on byte never arrived within its second");
        return;
    }
    bench.counters["entries"] = static_cast<double>(found.size());
    bench.counters["p50_ms"] = percentile(found, 0.50);
    bench.counters["p99_ms"] = percentile(found, 0.99);
    bench.counters["max_ms"] = *std::max_element(found.begin(), found.end());
}

// The newest process whose command line holds pattern, or 0.
long newestProcess(const QString& pattern) {
    QProcess pgrep;
    pgrep.start("pgrep", {"-n", "-f", pattern});
    pgrep.waitForFinished();
    return pgrep.readAllStandardOutput().trimmed().toLong();
}

// 600 entries from an hour ahead, a minute apart: none is due while it is measured.
std::vector<double> entriesNotDue() {
    std::vector<double> seconds;
    for (int i = 0; i < 600; ++i) {
        seconds.push_back(wallNow() + 3600 + 60.0 * i);
    }
    return seconds;
}

void BM_IdleCpu(benchmark::State& bench) {
    TempFolder home;
    PseudoTerminal module;
    for (const char* folder : {"program", "config", "runtime"}) {
        std::filesystem::create_directory(home.file(folder));
    }
    std::filesystem::permissions(home.file("runtime"), std::filesystem::perms::owner_all);
    std::filesystem::copy_file(QUOREL_PROGRAM, home.file("program/quorel"));
    home.write("config/VornAlmare.ini", "[Ports]\nCOM1=" + module.slavePath() + "\n");
    home.write("program/Quorel.ini", "1\r\n");
    std::string bytes;
    for (double second : entriesNotDue()) {
        bytes += record("1", second, "5");
    }
    for (int day = 0; day < 7; ++day) {
        home.write("program/Quorel." + std::to_string(day), bytes);
    }
    QProcess quorel;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("HOME", QString::fromStdString(home.path()));
    environment.insert("XDG_CONFIG_HOME", QString::fromStdString(home.file("config")));
    environment.insert("XDG_RUNTIME_DIR", QString::fromStdString(home.file("runtime")));
    quorel.setProcessEnvironment(environment);
    for (auto _ : bench) {
        quorel.start(QString::fromStdString(home.file("program/quorel")), {});
        quorel.waitForStarted();
        bench.counters["program_cpu_percent"] = idleCpuPercent(quorel.processId());
        quorel.terminate();
        quorel.waitForFinished();
    }
}

void BM_WineIdleCpu(benchmark::State& bench) {
    if (!windowsBuildNamed(bench)) {
        return;
    }
    WineStation wine;
    writeDayFiles(wine.quorel, entriesNotDue());
    for (auto _ : bench) {
        wine.quorel.start();
        // Wine runs the program in a process of its own, named after the executable.
        bench.counters["program_cpu_percent"] = idleCpuPercent(newestProcess("quorel.exe"));
        wine.quorel.close();
    }
}

BENCHMARK(BM_IdleCpu)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(BM_WineFireLatency)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(BM_WineIdleCpu)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace
} // namespace quorel

int main(int argc, char** argv) {
    quorel::test::ensureApplication();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
