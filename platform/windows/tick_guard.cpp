#include "platform/windows/tick_guard.h"

#include <windows.h>

namespace quorel {

TickGuard::TickGuard(int64_t limitMilliseconds, std::function<void()> onHung)
    : limit_(limitMilliseconds), onHung_(std::move(onHung)),
      stopped_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

TickGuard::~TickGuard() {
    stop();
    if (watcher_.joinable()) {
        watcher_.join();
    }
    ::CloseHandle(stopped_);
}

void TickGuard::start() {
    if (watcher_.joinable()) {
        return;
    }
    pet();
    watcher_ = std::thread([this] { watch(); });
}

void TickGuard::pet() {
    petAt_ = ::GetTickCount64();
}

void TickGuard::stop() {
    ::SetEvent(stopped_);
}

void TickGuard::watch() {
    while (::WaitForSingleObject(stopped_, 1000) == WAIT_TIMEOUT) {
        if (hung(::GetTickCount64(), petAt_, limit_)) {
            onHung_();
            return;
        }
    }
}

} // namespace quorel
