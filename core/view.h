#pragma once

namespace quorel {

// The groups of window controls whose content the logic owns. When the logic changes one, it
// tells the view, which redraws that group from the logic's state.
enum class ViewPart {
    Clock,        // LblHeure
    Outputs,      // LedOut, LblTemp, LblMaxi, CheckS
    Status,       // InfoERR
    PortChoice,   // PortCom
    RelayButtons, // CmdRelais colours
    List,         // rows of Quorel, selection and sort state
    EditFields,   // ChEdit, ComboS, ChDecoupe, ChDure
    Days,         // JourSemaine
    AutoRun,      // check mark of mnuautorun
    NextBell,     // LblProchaine
    Signals,      // the menu "Signaux": the signals, what runs, the suspension
};

class View {
  public:
    virtual ~View() = default;
    virtual void redraw(ViewPart part) = 0;
};

} // namespace quorel
