#include "platform/windows/windows_service.h"

#include "platform/windows/wide_text.h"

#include <windows.h>

namespace quorel {

namespace {

constexpr UINT kStopRequested = WM_APP + 2;
// What the service manager waits for, in milliseconds: a start-up that opens the module and
// reads the timetables, and a shut-down bounded at 3 s.
constexpr DWORD kStartWaitHint = 30000;
constexpr DWORD kStopWaitHint = ShutdownDeadline::kMilliseconds + 1000;

// What serviceMain, which the service manager calls without a context, needs.
std::wstring runningName;
WindowsService::Body* runningBody = nullptr;
int runningStatus = 0;

} // namespace

std::optional<int> WindowsService::run(const std::string& name, Body body) {
    runningName = toWide(name);
    runningBody = &body;
    SERVICE_TABLE_ENTRYW table[] = {{runningName.data(), &WindowsService::serviceMain},
                                    {nullptr, nullptr}};
    if (!::StartServiceCtrlDispatcherW(table)) {
        return std::nullopt;
    }
    return runningStatus;
}

void __stdcall WindowsService::serviceMain(unsigned long, wchar_t**) {
    WindowsService service;
    runningStatus = service.serve(runningName, *runningBody);
}

int WindowsService::serve(const std::wstring& name, Body& body) {
    {
        const std::lock_guard held(lock_);
        status_ = ::RegisterServiceCtrlHandlerExW(name.c_str(), &WindowsService::control, this);
        if (status_ == nullptr) {
            return 1;
        }
        report(SERVICE_START_PENDING, kStartWaitHint);
    }
    const int status = body(*this);
    guard_.stop();
    const std::lock_guard held(lock_);
    stopped_ = true;
    deadline_.disarm();
    stops_.reset();
    report(SERVICE_STOPPED, 0, status);
    return status;
}

WindowsService::WindowsService()
    : guard_(kTickLimitMilliseconds,
             [] { ::TerminateProcess(::GetCurrentProcess(), kHungExitStatus); }) {}

void WindowsService::watchStops(std::function<void()> onStop) {
    auto window = std::make_unique<MessageWindow>(
        [onStop = std::move(onStop)](unsigned message, uintptr_t, intptr_t) {
            if (message == kStopRequested) {
                onStop();
            }
        });
    const std::lock_guard held(lock_);
    stops_ = std::move(window);
    if (stopAsked_) {
        ::PostMessageW(stops_->handle(), kStopRequested, 0, 0);
    }
}

void WindowsService::ready() {
    const std::lock_guard held(lock_);
    if (!stopAsked_) {
        report(SERVICE_RUNNING, 0);
        guard_.start();
    }
}

void WindowsService::stopping() {
    guard_.stop();
    const std::lock_guard held(lock_);
    report(SERVICE_STOP_PENDING, kStopWaitHint);
}

void WindowsService::askStop() {
    const std::lock_guard held(lock_);
    if (stopped_) {
        return;
    }
    // A shut-down that hangs ends the process all the same: Windows is going down.
    deadline_.arm();
    stopAsked_ = true;
    report(SERVICE_STOP_PENDING, kStopWaitHint);
    if (stops_) {
        ::PostMessageW(stops_->handle(), kStopRequested, 0, 0);
    }
}

unsigned long __stdcall WindowsService::control(unsigned long code, unsigned long, void*,
                                                void* self) {
    switch (code) {
    case SERVICE_CONTROL_STOP:
    case SERVICE_CONTROL_SHUTDOWN:
    case SERVICE_CONTROL_PRESHUTDOWN:
        static_cast<WindowsService*>(self)->askStop();
        return NO_ERROR;
    case SERVICE_CONTROL_INTERROGATE:
        return NO_ERROR;
    default:
        return ERROR_CALL_NOT_IMPLEMENTED;
    }
}

void WindowsService::report(unsigned long state, unsigned long waitHint, int exitStatus) {
    SERVICE_STATUS status{};
    status.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
    status.dwCurrentState = state;
    // Only a running station takes a stop: a start-up stopped half-way would leave a relay on.
    status.dwControlsAccepted =
        state == SERVICE_RUNNING
            ? SERVICE_ACCEPT_STOP | SERVICE_ACCEPT_SHUTDOWN | SERVICE_ACCEPT_PRESHUTDOWN
            : 0;
    if (exitStatus != 0) {
        status.dwWin32ExitCode = ERROR_SERVICE_SPECIFIC_ERROR;
        status.dwServiceSpecificExitCode = static_cast<DWORD>(exitStatus);
    }
    const bool pending = state == SERVICE_START_PENDING || state == SERVICE_STOP_PENDING;
    status.dwCheckPoint = pending ? ++checkPoint_ : 0;
    status.dwWaitHint = waitHint;
    ::SetServiceStatus(static_cast<SERVICE_STATUS_HANDLE>(status_), &status);
}

} // namespace quorel
