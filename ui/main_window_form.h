#pragma once

#include "core/form.h"
#include "ui/main_window_events.h"

namespace quorel {

class MainWindowView;
class Program;

Action actionOf(WindowEvent event);

// The window F1 as a form: what each of its controls and menu items shows of the program's state,
// and each action of the operator handed to the program, whose request it then carries out (the
// dialogs on screen, the pop-up "Jour" and the close by the window).
class MainWindowForm final : public Form {
  public:
    MainWindowForm(Program& program, MainWindowView& window, FormScreen& screen);

    const FormDescription& description() const override;
    ControlValue value(size_t control, bool menuItem) const override;
    void raise(const ControlInput& input) override;
    bool ended() const override;
    // A day chosen while the day's edits are unsaved asks first whether to save them.
    bool waitsForInputEnd(const ControlInput& input) const override;

  private:
    // The event of the window that an input raises, with what came with it; none for nothing.
    std::optional<WindowInput> windowInput(const ControlInput& input) const;
    ControlValue controlValue(const ControlDescription<int, int>& control) const;
    ControlValue signalMenuValue(const MenuItemDescription<int, int>& item) const;

    Program& program_;
    MainWindowView& window_;
    FormScreen& screen_;
};

} // namespace quorel
