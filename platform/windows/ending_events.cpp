#include "platform/windows/ending_events.h"

#include <mutex>
#include <windows.h>

namespace quorel {

namespace {

constexpr UINT kEndRequested = WM_APP + 1;
constexpr const wchar_t* kSessionClassName = L"QuorelEndingEvents";

// What the console handler, on a thread of the system's, reaches while an EndingEvents lives.
std::mutex ownerLock;
MessageWindow* requestWindow = nullptr;
ShutdownDeadline* ownerDeadline = nullptr;

// Set once the EndingEvents is destroyed: the shut-down is over.
HANDLE shutDownOver() {
    static const HANDLE event = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    return event;
}

// Every request arms the deadline; the first one starts it.
MessageWindow* armedRequestWindow() {
    const std::lock_guard held(ownerLock);
    if (requestWindow != nullptr) {
        ownerDeadline->arm();
    }
    return requestWindow;
}

BOOL WINAPI onConsoleEvent(DWORD) {
    {
        // Posted under the lock, so that the window outlives the post.
        const std::lock_guard held(ownerLock);
        if (requestWindow == nullptr) {
            return FALSE; // the system's own handling: the process ends
        }
        ownerDeadline->arm();
        ::PostMessageW(requestWindow->handle(), kEndRequested, 0, 0);
    }
    // The deadline ends a shut-down that hangs; the wait is bounded all the same.
    ::WaitForSingleObject(shutDownOver(), ShutdownDeadline::kMilliseconds + 1000);
    return TRUE;
}

LRESULT CALLBACK sessionWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_QUERYENDSESSION:
        return TRUE;
    case WM_ENDSESSION:
        // Windows may end the process once this returns: the shut-down runs now.
        if (wParam != FALSE) {
            if (MessageWindow* requests = armedRequestWindow()) {
                requests->deliver(kEndRequested, 0, 0);
            }
        }
        return 0;
    case WM_CLOSE:
        if (MessageWindow* requests = armedRequestWindow()) {
            requests->deliver(kEndRequested, 0, 0);
        }
        return 0;
    default:
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

void registerSessionClassOnce() {
    static const ATOM atom = [] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = sessionWindowProcedure;
        windowClass.hInstance = ::GetModuleHandleW(nullptr);
        windowClass.lpszClassName = kSessionClassName;
        return ::RegisterClassExW(&windowClass);
    }();
    (void)atom;
}

} // namespace

EndingEvents::EndingEvents(std::function<void()> onRequest)
    : onRequest_(std::move(onRequest)), requests_([this](unsigned message, uintptr_t, intptr_t) {
          if (message == kEndRequested && onRequest_) {
              onRequest_();
          }
      }) {
    {
        const std::lock_guard held(ownerLock);
        if (requestWindow != nullptr) {
            return;
        }
        owner_ = true;
        requestWindow = &requests_;
        ownerDeadline = &deadline_;
        ::ResetEvent(shutDownOver());
    }
    // Hidden, top-level and not message-only: the session's end is sent to such windows only.
    registerSessionClassOnce();
    sessionWindow_ =
        ::CreateWindowExW(0, kSessionClassName, L"quorel-station", WS_OVERLAPPED, 0, 0, 0, 0,
                          nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ::SetConsoleCtrlHandler(onConsoleEvent, TRUE);
}

EndingEvents::~EndingEvents() {
    if (!owner_) {
        return;
    }
    {
        const std::lock_guard held(ownerLock);
        requestWindow = nullptr;
        ownerDeadline = nullptr;
        ::SetEvent(shutDownOver());
    }
    // Only now: the system holds a lock of its own while a handler runs, which taking the
    // handler out waits for.
    ::SetConsoleCtrlHandler(onConsoleEvent, FALSE);
    if (sessionWindow_ != nullptr) {
        ::DestroyWindow(sessionWindow_);
    }
}

} // namespace quorel
