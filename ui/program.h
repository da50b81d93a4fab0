#pragma once

#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/event_pump.h"
#include "platform/serial_link.h"
#include "platform/settings_store.h"
#include "platform/startup_entry.h"
#include "platform/timer.h"
#include "platform/view.h"
#include "relay/manual_controls.h"
#include "relay/outputs.h"
#include "relay/port_choice.h"
#include "relay/relay_panel.h"
#include "schedule/program_paths.h"
#include "schedule/scheduler_state.h"
#include "schedule/tick.h"
#include "settings/autorun.h"
#include "ui/day_editor.h"
#include "ui/edit_fields.h"
#include "ui/editor_list.h"
#include "ui/entry_commands.h"
#include "ui/window_rules.h"

#include <cstdint>
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
    Timer& timer;
    View& view;
};

// What the start-up needs of the window to size and place it.
class WindowGeometry {
  public:
    virtual ~WindowGeometry() = default;
    virtual TwipsSize outerSize() = 0;
    virtual TwipsSize screenSize() = 0;
    virtual void moveTo(TwipsPoint position) = 0;
};

// The whole program's logic and state: the window shows it and forwards its events here.
class Program {
  public:
    // programFolder: the executable's folder; programPath: the executable itself, as the
    // start-at-logon entry must name it.
    Program(PlatformServices services, std::string programFolder, std::string programPath);

    // Start-up, before the window is first shown.
    void Form_Load(WindowGeometry& window);
    // Shut-down, for the close box and "Quitter" alike: the port choice is saved, the scheduler
    // stopped and the port closed. Runs once; the caller then ends the program.
    void Form_Unload();
    bool ended() const { return ended_; }

    // The resize rule, for a window whose outer size has just changed.
    std::optional<TwipsSize> Form_Resize(bool normalState, TwipsSize current) const;

    ProgramPaths paths;
    SchedulerState scheduler;
    SchedulerCaptions captions;
    RelayPanel panel;
    EditorList list;
    EditFields fields;

    Outputs outputs;
    SchedulerTick tick;
    PortChoice portChoice;
    ManualControls manual;
    EntryCommands entries;
    DayEditor days;
    AutoRun autoRun;

    int32_t InitialWidth = 0;
    int32_t InitialHeight = 0;

  private:
    void settingsFile(const std::string& action);
    int16_t todayIndex();

    PlatformServices services_;
    std::string programFolder_;
    bool ended_ = false;
};

} // namespace quorel
