#pragma once

#include "platform/service_manager.h"
#include "platform/windows/message_window.h"
#include "platform/windows/shutdown_deadline.h"
#include "platform/windows/tick_guard.h"

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

namespace quorel {

// The name of the station's service, under which the installer registers it.
inline constexpr const char* kServiceName = "Quorel";

// The station as a service of Windows, as its service manager sees it: the start-up reported
// until the station is ready; stop, shut-down and pre-shut-down handed to the station's thread,
// the shut-down bounded at 3 s; the exit status reported at the end; a tick missing for 10 s ends
// the process, which the service manager's failure actions then restart.
class WindowsService final : public ServiceManager {
  public:
    static constexpr int64_t kTickLimitMilliseconds = 10000;
    static constexpr unsigned kHungExitStatus = 3;

    using Body = std::function<int(WindowsService&)>;
    // Runs body as the service called name, on the thread the service manager starts for it,
    // and returns its status once the service has stopped; nullopt at once when the program was
    // not started by the service manager.
    static std::optional<int> run(const std::string& name, Body body);

    // From now on each stop, shut-down and pre-shut-down calls onStop on the calling thread,
    // from its message loop; one asked before this call is delivered now.
    void watchStops(std::function<void()> onStop);

    void ready() override;
    void alive() override { guard_.pet(); }
    void stopping() override;
    int64_t watchdogMicroseconds() override { return kTickLimitMilliseconds * 1000; }

  private:
    WindowsService();
    int serve(const std::wstring& name, Body& body);
    void askStop();
    // Tells the service manager the state, under lock_.
    void report(unsigned long state, unsigned long waitHint, int exitStatus = 0);
    static unsigned long __stdcall control(unsigned long code, unsigned long, void*, void* self);
    static void __stdcall serviceMain(unsigned long, wchar_t**);

    // Held by the service manager's thread and the station's alike, around the state reported,
    // the deadline and the window that takes the requests.
    std::mutex lock_;
    void* status_ = nullptr;
    unsigned long checkPoint_ = 0;
    std::unique_ptr<MessageWindow> stops_;
    bool stopAsked_ = false;
    bool stopped_ = false; // reported stopped: a late request changes nothing
    ShutdownDeadline deadline_;
    TickGuard guard_;
};

} // namespace quorel
