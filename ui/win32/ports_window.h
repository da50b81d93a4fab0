#pragma once

#include "ui/ports_form.h"
#include "ui/win32/described_dialog.h"

#include <windows.h>

namespace quorel {

// The dialog "Ports", as described by portsDescription(): it shows its form, forwards its edits
// and clicks to it, and closes once the form has ended.
class PortsWindow final : public DescribedDialog {
  public:
    PortsWindow(PortsForm& form, HWND owner);

  protected:
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    void raise(PortsEvent event, HWND source, int option);
    void showForm();

    PortsForm& form_;
};

// Shows the dialog modally over a window.
class PortsOnScreen final : public PortsScreen {
  public:
    explicit PortsOnScreen(HWND owner) : owner_(owner) {}
    void show(PortsForm& form) override {
        PortsWindow dialog(form, owner_);
        dialog.run();
    }

  private:
    HWND owner_;
};

} // namespace quorel
