#pragma once

#include "core/view.h"
#include "ui/main_window_events.h"
#include "ui/program.h"

namespace quorel {

// What both front ends' main windows share: each part the logic asks to redraw goes to the
// window's call that shows it, and each event goes to the logic, whose request the window then
// carries out. A window implements the calls; this class decides which one runs.
class MainWindowView : public View {
  public:
    // Nothing is shown while no logic is attached.
    void redraw(ViewPart part) override;

    // Forwards a request to close ("Quitter", a signal, a log-off) to the logic; closes the
    // window and ends the program when the logic has shut down.
    virtual void closeFor(ShutdownCause cause) = 0;

  protected:
    // Hands an event to the logic and does what it asks of the window.
    void forward(const WindowInput& input);

    Program* program_ = nullptr;

  private:
    virtual void showClock() = 0;
    virtual void showOutputs() = 0;
    virtual void showStatus() = 0;
    virtual void showPortChoice() = 0;
    virtual void showRelayButtons() = 0;
    virtual void showList() = 0;
    virtual void showEditFields() = 0;
    virtual void showDays() = 0;
    virtual void showAutoRun() = 0;
    virtual void showNextBell() = 0;
    // Opens the pop-up "Jour" where the pointer is, and returns once it is closed.
    virtual void showCopyMenu() = 0;
    virtual void editDaysWithoutBells() = 0;
    virtual void editPorts() = 0;
    virtual void editSpecialTimetables() = 0;
    virtual void showJournal() = 0;
};

} // namespace quorel
