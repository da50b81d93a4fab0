#pragma once

#include "core/control_description.h"
#include "core/view.h"

namespace quorel {

// What the controls and menu items of the window F1 raise. Each front end turns its toolkit's
// signals into these and hands them to the logic (handleWindowEvent).
enum class WindowEvent {
    PortChosen,               // PortCom: an option clicked
    OutputSwitchClicked,      // CheckS: a box clicked, with its new state
    RelayTestClicked,         // CmdRelais
    EntryFieldEdited,         // ChEdit: typed in, with the new text
    SeriesOffsetEdited,       // ChDecoupe: typed in, with the new text
    SeriesDurationEdited,     // ChDure: typed in, with the new text
    SeriesOutputChosen,       // ComboS: the chosen text changed
    SeriesClicked,            // BtnInti
    AddClicked,               // BtnAjouter
    ReplaceClicked,           // BtnReplacer
    RemoveClicked,            // BtnSupp
    ClearClicked,             // BtnDelete, "RAZ"
    SaveClicked,              // BtnSave
    CopyDayClicked,           // BtnCopy: the "Jour" pop-up is to be opened
    RowChosen,                // Quorel: the selected row changed
    ListClicked,              // Quorel: clicked
    ColumnClicked,            // Quorel: a column header clicked
    ListKeyReleased,          // Quorel: a key released while it has the focus
    DayChosen,                // JourSemaine: the selected day changed
    DayCopied,                // an item of the pop-up "Jour"
    AutoRunClicked,           // mnuautorun
    DaysWithoutBellsClicked,  // MnuJoursSansSonnerie
    PortsClicked,             // MnuPorts
    SpecialTimetablesClicked, // MnuHorairesParticuliers
    JournalClicked,           // MnuJournal
    QuitClicked,              // MnuQuit
    SignalClicked,            // Signal: a signal of the menu "Signaux", by its index from 1
    StopSignalClicked,        // MnuArreterSignal
    SuspendClicked,           // MnuSuspendre: suspends or resumes the bells
    SignalsClicked,           // MnuSignaux
};

// The menu "Signaux" lists at most this many signals.
inline constexpr int kSignalMenuItems = 20;

using MainWindowControl = ControlDescription<WindowEvent, ViewPart>;
using MainWindowDescription = WindowDescription<WindowEvent, ViewPart>;

// The window F1: its menus and every control, at its design place.
const MainWindowDescription& mainWindowDescription();

} // namespace quorel
