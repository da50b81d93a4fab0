#pragma once

#include "core/form.h"

#include <windows.h>

namespace quorel {

// Shows each form as a modal dialog over a window, until the form has ended.
class Win32FormScreen final : public FormScreen {
  public:
    explicit Win32FormScreen(HWND owner = nullptr) : owner_(owner) {}
    void setOwner(HWND owner) { owner_ = owner; }
    void show(Form& form) override;
    // In the file manager, the Explorer.
    void openFolder(const std::string& folder) override;

  private:
    HWND owner_;
};

} // namespace quorel
