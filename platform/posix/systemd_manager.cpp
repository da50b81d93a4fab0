#include "platform/posix/systemd_manager.h"

#include <systemd/sd-daemon.h>

namespace quorel {

void SystemdManager::ready() {
    ::sd_notify(0, "READY=1");
}

void SystemdManager::alive() {
    ::sd_notify(0, "WATCHDOG=1");
}

void SystemdManager::stopping() {
    ::sd_notify(0, "STOPPING=1");
}

int64_t SystemdManager::watchdogMicroseconds() {
    uint64_t microseconds = 0;
    return ::sd_watchdog_enabled(0, &microseconds) > 0 ? static_cast<int64_t>(microseconds) : 0;
}

} // namespace quorel
