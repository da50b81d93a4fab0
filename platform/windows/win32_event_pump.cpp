#include "platform/windows/win32_event_pump.h"

#include "platform/windows/loop_handles.h"

#include <algorithm>
#include <utility>
#include <vector>
#include <windows.h>

namespace quorel {

namespace {

constexpr UINT kRoundMarker = WM_APP + 1;

// What is not posted: input, repaints and messages sent by other threads.
constexpr UINT kUnposted = PM_QS_INPUT | PM_QS_PAINT | PM_QS_SENDMESSAGE;

void dispatch(MSG& message) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
}

} // namespace

Win32EventPump::Win32EventPump()
    : marker_([this](unsigned message, uintptr_t round, intptr_t) {
          if (message == kRoundMarker) {
              // Rounds end in order, even when a nested loop (a box) dispatches the marker.
              roundsEnded_ = std::max<uint64_t>(roundsEnded_, round);
          }
      }) {}

void Win32EventPump::yield() {
    if (stopped_) {
        return;
    }
    runSignalledLoopHandles();
    if (stopped_) {
        return;
    }
    const uint64_t round = ++roundsBegun_;
    if (::PostMessageW(marker_.handle(), kRoundMarker, round, 0) == 0) {
        roundsEnded_ = round; // a full queue: input and repaints only
    }
    MSG message{};
    while (!stopped_ && ::PeekMessageW(&message, nullptr, 0, 0,
                                       PM_REMOVE | (roundsEnded_ >= round ? kUnposted : 0))) {
        if (keptQuit(message)) {
            return;
        }
        dispatch(message);
    }
    if (!stopped_) {
        dispatchDueTimers();
    }
}

// Every filter lets WM_QUIT through: it is posted again, for the message loop.
bool Win32EventPump::keptQuit(const tagMSG& message) {
    if (message.message != WM_QUIT) {
        return false;
    }
    quitSeen_ = true;
    ::PostQuitMessage(static_cast<int>(message.wParam));
    return true;
}

// Timer messages come after the posted ones, hence after the marker: each due timer is
// dispatched here, and one that falls due again during the round ends it.
void Win32EventPump::dispatchDueTimers() {
    std::vector<std::pair<HWND, WPARAM>> dispatched;
    MSG message{};
    while (!stopped_ && ::PeekMessageW(&message, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE)) {
        if (keptQuit(message)) {
            return;
        }
        const std::pair<HWND, WPARAM> timer{message.hwnd, message.wParam};
        const bool again =
            std::find(dispatched.begin(), dispatched.end(), timer) != dispatched.end();
        dispatched.push_back(timer);
        dispatch(message);
        if (again) {
            return;
        }
    }
}

} // namespace quorel
