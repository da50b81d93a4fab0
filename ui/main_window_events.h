#pragma once

#include "relay/relay_panel.h"
#include "ui/entry_commands.h"
#include "ui/main_window_description.h"

#include <string>

namespace quorel {

class Program;

// An event of the window F1, with what came with it.
struct WindowInput {
    WindowEvent event = WindowEvent::AddClicked;
    int index = -1;     // the element of the control array that raised it; a "Jour" item, 1 to 7
    int position = -1;  // RowChosen: the row, from 1 (0: none); ColumnClicked: the column, from 1;
                        // DayChosen: the day, 0 ("Lundi") to 6
    std::string text{}; // a field's new text, a drop-down's chosen text
    CheckState check = CheckState::Unchecked; // a check box's new state
    KeyRelease key{};
};

// What the window has to do itself after an event, besides redrawing what the logic changed.
enum class WindowRequest {
    None,
    OpenDayMenu,           // opens the pop-up "Jour" where the pointer is, and waits for it
    EditDaysWithoutBells,  // runs editDaysWithoutBells with its dialog
    EditPorts,             // runs editPorts with its dialog
    EditSpecialTimetables, // runs editSpecialTimetables with its dialog
    ShowJournal,           // shows the journal viewer in its dialog
    EditSignals,           // runs editSignals with its dialog
    Quit,                  // closes the window for "Quitter"
};

// Hands an event of the window to the logic.
WindowRequest handleWindowEvent(Program& program, const WindowInput& input);

} // namespace quorel
