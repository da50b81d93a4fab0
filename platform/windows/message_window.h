#pragma once

#include <cstdint>
#include <functional>

struct HWND__;

namespace quorel {

// A message-only window (HWND_MESSAGE) of the thread that creates it: never shown, it hands the
// messages from WM_APP up and the WM_TIMER of its timers to its handler, on that thread, from
// whatever message loop runs there (the program's, a message box's, a menu's).
class MessageWindow {
  public:
    using Handler = std::function<void(unsigned message, uintptr_t wParam, intptr_t lParam)>;

    explicit MessageWindow(Handler handler);
    ~MessageWindow();
    MessageWindow(const MessageWindow&) = delete;
    MessageWindow& operator=(const MessageWindow&) = delete;

    HWND__* handle() const { return window_; }
    void deliver(unsigned message, uintptr_t wParam, intptr_t lParam) {
        handler_(message, wParam, lParam);
    }

  private:
    Handler handler_;
    HWND__* window_ = nullptr;
};

} // namespace quorel
