#pragma once

#include "core/view.h"
#include "ui/program.h"
#include "ui/window_geometry.h"

#include <functional>

namespace quorel {

// What both front ends' main windows share: each part the logic asks to redraw goes to the
// window's renderer, which draws the controls and menu items of that part from the window's form
// (MainWindowForm); the form asks the window for what only the window can do.
class MainWindowView : public View, public WindowGeometry {
  public:
    // Nothing is shown while no logic is attached.
    void redraw(ViewPart part) override {
        if (program_ != nullptr) {
            showPart(static_cast<int>(part));
            // The sign changes whenever a signal starts or ends and the bells are suspended or
            // resumed: the menu "Signaux" and the status line follow it.
            if (part == ViewPart::NextBell) {
                showPart(static_cast<int>(ViewPart::Signals));
                showPart(static_cast<int>(ViewPart::Status));
            }
        }
    }

    // Forwards a request to close ("Quitter", a signal, a log-off) to the logic; closes the
    // window and ends the program when the logic has shut down.
    virtual void closeFor(ShutdownCause cause) = 0;
    // Opens the pop-up "Jour" where the pointer is, and returns once it is closed.
    virtual void showCopyMenu() = 0;

    // Runs once, when the program has ended, to leave the event loop.
    std::function<void()> onEnded;

  protected:
    // Draws the controls and menu items whose content is that part.
    virtual void showPart(int part) = 0;

    // Announces the program's end, once.
    void end() {
        if (!endAnnounced_ && onEnded) {
            endAnnounced_ = true;
            onEnded();
        }
    }

    Program* program_ = nullptr;

  private:
    bool endAnnounced_ = false;
};

} // namespace quorel
