#pragma once

#include "relay/relay_panel.h"

#include <string>
#include <windows.h>

namespace quorel {

std::string textOf(HWND control);
// Sets a control's text only when it differs, so the cursor of a field being typed in stays put.
void setText(HWND control, const std::string& text);
WPARAM buttonCheck(CheckState state);

// Controls set while it lives raise no event back to the logic (as a QSignalBlocker).
class Quiet {
  public:
    explicit Quiet(int& depth) : depth_(depth) { ++depth_; }
    ~Quiet() { --depth_; }
    Quiet(const Quiet&) = delete;
    Quiet& operator=(const Quiet&) = delete;

  private:
    int& depth_;
};

} // namespace quorel
