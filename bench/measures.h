#pragma once

// What the benchmarks measure the same way: percentiles, and a process's CPU time and memory as
// the system counts them.

#include "tests/support/clock_seconds.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace quorel::bench {

inline double percentile(std::vector<double> values, double fraction) {
    std::sort(values.begin(), values.end());
    const size_t rank = static_cast<size_t>(std::ceil(fraction * values.size()));
    return values[std::clamp<size_t>(rank, 1, values.size()) - 1];
}

// The user and system CPU time of a process, in seconds; 0 when there is no such process.
inline double cpuSeconds(long pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), {});
    if (text.rfind(')') == std::string::npos) {
        return 0;
    }
    std::istringstream fields(text.substr(text.rfind(')') + 2));
    std::string field;
    double ticks = 0;
    for (int index = 3; fields >> field && index <= 15; ++index) {
        ticks += index >= 14 ? std::stod(field) : 0; // utime, stime
    }
    return ticks / static_cast<double>(::sysconf(_SC_CLK_TCK));
}

// The share of one core that a process used over 30 s, once 10 s after its start have passed.
inline double idleCpuPercent(long pid) {
    std::this_thread::sleep_for(std::chrono::seconds(10));
    const double before = cpuSeconds(pid);
    const double start = test::monotonicNow();
    std::this_thread::sleep_for(std::chrono::seconds(30));
    return 100 * (cpuSeconds(pid) - before) / (test::monotonicNow() - start);
}

// The most resident memory the process has used, in MiB (VmHWM).
inline double peakResidentMiB(long pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.starts_with("VmHWM:")) {
            return std::stod(line.substr(6)) / 1024.0;
        }
    }
    return 0;
}

} // namespace quorel::bench
