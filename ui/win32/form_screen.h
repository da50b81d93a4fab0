#pragma once

#include "core/form.h"

#include <windows.h>

namespace quorel {

// Shows each form as a modal dialog over a window, until the form has ended.
class Win32FormScreen final : public FormScreen {
  public:
    explicit Win32FormScreen(HWND owner) : owner_(owner) {}
    void show(Form& form) override;

  private:
    HWND owner_;
};

} // namespace quorel
