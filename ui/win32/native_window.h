#pragma once

#include <windows.h>

namespace quorel {

// A top-level window of the program whose messages go to a C++ object.
class NativeWindow {
  public:
    NativeWindow() = default;
    NativeWindow(const NativeWindow&) = delete;
    NativeWindow& operator=(const NativeWindow&) = delete;
    virtual ~NativeWindow();

    HWND handle() const { return window_; }

  protected:
    // Creates the window, hidden, with a client area of that size in pixels at the system's DPI.
    void createWindow(const wchar_t* title, DWORD style, DWORD exStyle, HWND owner, SIZE client,
                      HMENU menu);
    virtual LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_ = nullptr;

  private:
    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam);
};

// Shows a window over its owner, which takes no input meanwhile, and runs its messages until
// done, or until the program's end (WM_QUIT, posted again for the outer loop); then hides it.
void runModal(HWND window, HWND owner, const bool& done);

} // namespace quorel
