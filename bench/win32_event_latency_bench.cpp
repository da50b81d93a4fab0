// The window's event latency while a relay switch runs, on Windows: another thread posts
// timestamped messages every 5 ms during SetOutputs (two relay bytes, each followed by a 0.15 s
// pause), and each is timed from its posting to its handling on the window thread. The sleeping
// clock shows how long the window froze when the pause slept; the message-loop clock is the one
// the program uses. Prints the figures; no Google Benchmark for Windows is packaged.

#include "bench/switching_outputs.h"
#include "platform/windows/message_loop_clock.h"
#include "platform/windows/message_window.h"
#include "platform/windows/system_clock.h"
#include "platform/windows/win32_event_pump.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <thread>
#include <vector>
#include <windows.h>

namespace quorel {
namespace {

constexpr int kSwitches = 10;
constexpr UINT kStamped = WM_APP + 1;

double monotonicNow() {
    LARGE_INTEGER counter{};
    LARGE_INTEGER frequency{};
    ::QueryPerformanceCounter(&counter);
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double threadCpuSeconds() {
    FILETIME created{}, exited{}, kernel{}, user{};
    ::GetThreadTimes(::GetCurrentThread(), &created, &exited, &kernel, &user);
    const auto seconds = [](FILETIME time) {
        return static_cast<double>((static_cast<uint64_t>(time.dwHighDateTime) << 32) |
                                   time.dwLowDateTime) *
               1e-7;
    };
    return seconds(kernel) + seconds(user);
}

double percentile(std::vector<double> values, double fraction) {
    std::sort(values.begin(), values.end());
    const size_t rank = static_cast<size_t>(std::ceil(fraction * values.size()));
    return values[std::clamp<size_t>(rank, 1, values.size()) - 1];
}

// Drains what is left in the queue once the switch is over.
void drainMessages() {
    MSG message{};
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        ::DispatchMessageW(&message);
    }
}

void measure(const char* name, bool messageLoopPause) {
    SystemClock system;
    Win32EventPump pump;
    MessageLoopClock messageLoopClock(system, pump);
    Clock& clock = messageLoopPause ? static_cast<Clock&>(messageLoopClock) : system;
    bench::SwitchingOutputs switching(clock, pump);
    Outputs& outputs = switching.outputs;

    // Stands for the window: the posting time travels in the message, as microseconds.
    std::vector<double> waits;
    MessageWindow window([&](unsigned message, uintptr_t, intptr_t lParam) {
        if (message == kStamped) {
            waits.push_back((monotonicNow() - static_cast<double>(lParam) * 1e-6) * 1000);
        }
    });
    double cpuSeconds = 0;
    int16_t flag = kOn;
    for (int run = 0; run < kSwitches; ++run) {
        std::atomic<bool> switching{true};
        std::thread poster([&] {
            while (switching) {
                ::PostMessageW(window.handle(), kStamped, 0,
                               static_cast<LPARAM>(std::llround(monotonicNow() * 1e6)));
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
        });
        const double cpuBefore = threadCpuSeconds();
        outputs.SetOutputs(flag, 0, 0, 0);
        cpuSeconds += threadCpuSeconds() - cpuBefore;
        switching = false;
        poster.join();
        drainMessages(); // the messages posted last wait for the next turn
        flag = flag == kOn ? kOff : kOn;
    }
    std::printf("%-18s %zu events over %d switches: p50 %.2f ms, p99 %.2f ms, max %.2f ms; "
                "%.2f ms CPU per switch\n",
                name, waits.size(), kSwitches, percentile(waits, 0.5), percentile(waits, 0.99),
                percentile(waits, 1.0), cpuSeconds * 1000 / kSwitches);
}

} // namespace
} // namespace quorel

int main() {
    quorel::measure("sleeping pause", false);
    quorel::measure("message-loop pause", true);
    return 0;
}
