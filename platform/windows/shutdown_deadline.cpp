#include "platform/windows/shutdown_deadline.h"

#include <windows.h>

namespace quorel {

ShutdownDeadline::ShutdownDeadline() : disarmed_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

ShutdownDeadline::~ShutdownDeadline() {
    disarm();
    ::CloseHandle(disarmed_);
}

void ShutdownDeadline::arm() {
    if (armed()) {
        return;
    }
    ::ResetEvent(disarmed_);
    watchdog_ = std::thread([event = disarmed_] {
        if (::WaitForSingleObject(event, kMilliseconds) != WAIT_TIMEOUT) {
            return;
        }
        static constexpr char kCutShort[] =
            "quorel : arrêt écourté après 3 secondes (réglages peut-être non enregistrés)\n";
        DWORD written = 0;
        const HANDLE errors = ::GetStdHandle(STD_ERROR_HANDLE);
        if (errors != nullptr && errors != INVALID_HANDLE_VALUE) {
            ::WriteFile(errors, kCutShort, sizeof kCutShort - 1, &written, nullptr);
        }
        // As _exit does: ExitProcess would run the libraries' detach code, which may wait for a
        // lock that the stuck thread holds.
        ::TerminateProcess(::GetCurrentProcess(), 1);
    });
}

void ShutdownDeadline::disarm() {
    if (armed()) {
        ::SetEvent(disarmed_);
        watchdog_.join();
    }
}

} // namespace quorel
