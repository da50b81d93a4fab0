#pragma once

#include "core/check_state.h"
#include "core/local_date.h"

#include <string>
#include <windows.h>

namespace quorel {

std::string textOf(HWND control);
// Sets a control's text only when it differs, so the cursor of a field being typed in stays put.
void setText(HWND control, const std::string& text);
WPARAM buttonCheck(CheckState state);
// A date field's day, and a day put in it when it differs.
LocalDate dateIn(HWND field);
void setDate(HWND field, const LocalDate& date);

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
