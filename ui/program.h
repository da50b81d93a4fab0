#pragma once

#include "core/program_paths.h"
#include "core/view.h"
#include "platform/clock.h"
#include "platform/clock_sync.h"
#include "platform/dialogs.h"
#include "platform/event_pump.h"
#include "platform/file_layer.h"
#include "platform/serial_link.h"
#include "platform/serial_ports.h"
#include "platform/settings_store.h"
#include "platform/startup_entry.h"
#include "platform/timer.h"
#include "settings/autorun.h"
#include "station/station.h"
#include "ui/day_editor.h"
#include "ui/edit_fields.h"
#include "ui/editor_list.h"
#include "ui/entry_commands.h"
#include "ui/held_dialogs.h"
#include "ui/station_console.h"
#include "ui/window_geometry.h"
#include "ui/window_rules.h"

#include <cstdint>
#include <ostream>
#include <string>

namespace quorel {

// Everything the logic reaches the world through.
struct PlatformServices {
    Clock& clock;
    SerialLink& link;
    EventPump& pump;
    Dialogs& dialogs;
    SettingsStore& store;
    StartupEntry& startup;
    Timer& timer;      // TimerSat, the scheduler's 200 ms timer
    Timer& retryTimer; // TimerPort, which tries a port that would not open again every 5 s
    View& view;
    std::ostream& errors;       // where a failure goes when no box may be shown (standard error)
    FileLayer& files;           // the files the scheduler watches and the settings file
    SerialPorts& ports;         // the serial devices present, for the dialog "Ports"
    ClockSyncSource& clockSync; // the clock's synchronisation
};

// What asked the program to end.
enum class ShutdownCause {
    WindowClosed, // the close box
    Quit,         // "Quitter"
    Signal,       // log-out, Ctrl-C or kill: nothing may wait for the operator
};

// What the front end does after a request to close: keep its window, or close it and end the
// program with Program::exitStatus().
enum class CloseOutcome { StayOpen, End };

// The window's program: the station that rings, the day editor and the window's own rules. The
// window shows it and forwards its events here.
class Program {
  public:
    // dataFolder: the folder of the day files and settings (the executable's own when the user
    // may write there, else the user's data folder); programPath: the executable itself, as the
    // start-at-logon entry must name it.
    Program(PlatformServices services, std::string dataFolder, std::string programPath);

    // Before the start-up: tries the station at address (a system service); when it answers,
    // the window becomes its console: it shows the station's state and sends it every command,
    // and it neither rings nor holds a data folder itself. False when no station answered: the
    // window then runs its own station, as startAlone() and Form_Load() do.
    bool connectToStation(ChannelConnection& connection, const std::string& address);
    // Before the start-up: holds the data folder for this copy. With another copy running on the
    // same folder, tells the operator "Quorel est déjà lancé." and returns false; the program
    // then ends, and its shut-down touches no file.
    [[nodiscard]] bool startAlone();
    // Start-up, before the window is first shown.
    void Form_Load(WindowGeometry& window);
    // A request to end the program, from the front end, for its cause. The close box and
    // "Quitter" ask about unsaved edits first, and stay open on "Annuler" or a failed save. A
    // signal asks nothing; one that arrives while that question is open shuts down at once (the
    // question's answer then changes nothing), and one that arrives while the shut-down shows
    // its own box ends the program without waiting for the box.
    CloseOutcome requestClose(ShutdownCause cause);
    // 1 when the shut-down could not save the port choice, else 0.
    int exitStatus() const { return shutDownFailed_ ? 1 : 0; }
    // Before the shut-down: with unsaved edits in the editor's list, asks the operator whether to
    // save them. Returns false when the window is to stay open ("Annuler", or a failed save).
    // Asked by a signal, it asks nothing and returns true.
    bool Form_QueryUnload(ShutdownCause cause);
    // Shut-down, for every cause: the scheduler stopped, each relay still on switched off and
    // the port closed first, then the port choice saved, the journal's last line written and a
    // failure told. Runs once; the caller then ends the program. Asked by a signal, it shows no
    // box: a failure goes to the error output instead. Edits still unsaved are noted in the
    // journal as dropped.
    void Form_Unload(ShutdownCause cause);
    bool ended() const { return ended_; }

    // What LblProchaine shows: the next bell, or that the bells are stopped while the port
    // choice is "Désactivé".
    NextBellSign shownNextBell() const;
    LocalDate today() { return services_.clock.localDate(); }
    // The message boxes of the program's own windows.
    Dialogs& dialogs() { return heldDialogs_; }
    SettingsStore& store() { return services_.store; }
    SerialPorts& serialPorts() { return services_.ports; }
    // The clock whose pauses keep the window and the scheduler running.
    Clock& clock() { return services_.clock; }
    // The files the editor and the dialogs read and write: the station's own through the
    // channel while the window is its console, else those of the data folder.
    FileLayer& files() { return console.files(); }
    // The status line's tool tip; a console says whose console it is.
    std::string statusToolTip() const;
    // "Démarrer avec Windows" is for a window that rings; a console's station starts with the
    // system.
    bool autoRunAvailable() const { return !console.active(); }
    // Reads the days without bells again at once, after the operator saved them.
    void reloadClosedPeriods();
    // Reads the special timetables and the dated periods again at once, after the operator saved
    // them: today's timetable is chosen again, and the day list shows them as they are now.
    void reloadSpecialTimetables();

    Station& station() { return station_; }
    // The signals of the menu "Signaux", by name.
    std::vector<std::string> signalNames;

    // The resize rule, for a window whose outer size has just changed.
    std::optional<TwipsSize> Form_Resize(bool normalState, TwipsSize current) const;

  private:
    HeldDialogs heldDialogs_;
    Station station_;

  public:
    // The station's parts, under the names the window and its tests know them by.
    ProgramPaths& paths = station_.paths;
    SchedulerState& scheduler = station_.scheduler;
    SchedulerCaptions& captions = station_.captions;
    RelayPanel& panel = station_.panel;
    RelayLink& relays = station_.relays;
    Outputs& outputs = station_.outputs;
    SchedulerTick& tick = station_.tick;
    ClockWatch& clockWatch = station_.clockWatch;
    PortChoice& portChoice = station_.portChoice;
    ManualControls& manual = station_.manual;

    StationConsole console;
    EditorList list;
    EditFields fields;
    EntryCommands entries;
    DayEditor days;
    AutoRun autoRun;

    int32_t InitialWidth = 0;
    int32_t InitialHeight = 0;

  private:
    // Today's timetable in the editor, its fields ready, the window centred and its size kept.
    void showEditorAndPlace(WindowGeometry& window);

    PlatformServices services_;
    bool unloading_ = false;
    bool askingBeforeClose_ = false;
    bool ended_ = false;
    bool shutDownFailed_ = false;
    bool refused_ = false;
};

} // namespace quorel
