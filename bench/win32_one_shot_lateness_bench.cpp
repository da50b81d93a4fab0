// Lateness of the Windows one-shot timer: from the due time of an arming to the run of its
// expiry handler on the window thread, for a run of short armings, once with the thread idle in
// its message loop and once inside an open message box's loop. Prints the figures; no Google
// Benchmark for Windows is packaged.

#include "platform/windows/message_loop.h"
#include "platform/windows/system_clock.h"
#include "platform/windows/waitable_one_shot_timer.h"

#include <algorithm>
#include <cstdio>
#include <vector>
#include <windows.h>

namespace quorel {
namespace {

constexpr int kArmings = 200;
constexpr int64_t kDelayMicroseconds = 5'000;

void report(const char* where, std::vector<double> lateness) {
    std::sort(lateness.begin(), lateness.end());
    const auto at = [&](double share) {
        return lateness[std::min(lateness.size() - 1,
                                 static_cast<size_t>(share * lateness.size()))];
    };
    std::printf(
        "%-12s %d armings of %lld us: lateness min %.0f, median %.0f, p99 %.0f, max %.0f us\n",
        where, kArmings, static_cast<long long>(kDelayMicroseconds), lateness.front(), at(0.5),
        at(0.99), lateness.back());
}

// Arms the timer kArmings times in a row, each from the previous expiry, then calls done.
std::vector<double> measure(WaitableOneShotTimer& timer, void (*run)(), void (*done)()) {
    SystemClock clock;
    std::vector<double> lateness;
    double due = 0;
    const auto arm = [&] {
        due = clock.monotonicSeconds() + kDelayMicroseconds / 1e6;
        timer.start(kDelayMicroseconds);
    };
    timer.setExpiryHandler([&] {
        lateness.push_back((clock.monotonicSeconds() - due) * 1e6);
        if (lateness.size() < kArmings) {
            arm();
        } else {
            done();
        }
    });
    arm();
    run();
    return lateness;
}

HWND openBox() {
    HWND box = nullptr;
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND window, LPARAM found) {
            return ::IsWindowVisible(window) ? (*reinterpret_cast<HWND*>(found) = window, FALSE)
                                             : TRUE;
        },
        reinterpret_cast<LPARAM>(&box));
    return box;
}

} // namespace
} // namespace quorel

int main() {
    using namespace quorel;
    WaitableOneShotTimer timer;
    std::printf("high-resolution waitable timer: %s\n",
                timer.highResolution() ? "yes" : "no (1 ms system resolution)");
    report("idle loop", measure(
                            timer, [] { runMessageLoop(); }, [] { ::PostQuitMessage(0); }));
    report("message box",
           measure(
               timer, [] { ::MessageBoxW(nullptr, L"Mesure", L"Gestion Quorel", MB_OK); },
               [] { ::SendMessageW(openBox(), WM_COMMAND, IDOK, 0); }));
    return 0;
}
