#pragma once

#include "ui/special_timetables.h"
#include "ui/win32/described_dialog.h"

#include <commctrl.h>
#include <windows.h>

namespace quorel {

// The dialog "Horaires particuliers", as described by specialTimetablesDescription(): it shows
// its form, forwards its edits and clicks to it, and closes once the form has ended.
class SpecialTimetablesWindow final : public DescribedDialog {
  public:
    SpecialTimetablesWindow(SpecialTimetablesForm& form, HWND owner);

  protected:
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    void raise(SpecialTimetablesEvent event, HWND source);
    void showForm();
    // Periods over greyed, records that do not ring in the warning colours.
    LRESULT drawRow(NMLVCUSTOMDRAW* draw) const;

    SpecialTimetablesForm& form_;
    std::vector<DatedPeriodRow> rows_;
};

class SpecialTimetablesOnScreen final : public SpecialTimetablesScreen {
  public:
    explicit SpecialTimetablesOnScreen(HWND owner) : owner_(owner) {}
    void show(SpecialTimetablesForm& form) override {
        SpecialTimetablesWindow dialog(form, owner_);
        dialog.run();
    }

  private:
    HWND owner_;
};

} // namespace quorel
