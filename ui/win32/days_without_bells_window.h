#pragma once

#include "ui/days_without_bells.h"
#include "ui/win32/described_dialog.h"

#include <commctrl.h>
#include <windows.h>

namespace quorel {

// The dialog "Jours sans sonnerie", as described by daysWithoutBellsDescription(): it shows its
// form, forwards its edits and clicks to it, and closes once the form has ended.
class DaysWithoutBellsWindow final : public DescribedDialog {
  public:
    DaysWithoutBellsWindow(DaysWithoutBellsForm& form, HWND owner);

  protected:
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    void raise(DaysWithoutBellsEvent event, HWND source);
    void showForm();
    LRESULT greyPeriodsOver(NMLVCUSTOMDRAW* draw) const;

    DaysWithoutBellsForm& form_;
    std::vector<PeriodRow> rows_;
};

// Shows the dialog modally over a window.
class DaysWithoutBellsOnScreen final : public DaysWithoutBellsScreen {
  public:
    explicit DaysWithoutBellsOnScreen(HWND owner) : owner_(owner) {}
    void show(DaysWithoutBellsForm& form) override {
        DaysWithoutBellsWindow dialog(form, owner_);
        dialog.run();
    }

  private:
    HWND owner_;
};

} // namespace quorel
