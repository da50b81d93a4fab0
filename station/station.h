#pragma once

#include "core/program_paths.h"
#include "core/view.h"
#include "platform/clock.h"
#include "platform/clock_sync.h"
#include "platform/dialogs.h"
#include "platform/event_pump.h"
#include "platform/file_layer.h"
#include "platform/folder_lock.h"
#include "platform/serial_link.h"
#include "platform/timer.h"
#include "relay/manual_controls.h"
#include "relay/outputs.h"
#include "relay/port_choice.h"
#include "relay/relay_link.h"
#include "relay/relay_panel.h"
#include "schedule/clock_watch.h"
#include "schedule/daily_journal.h"
#include "schedule/next_bell.h"
#include "schedule/scheduler_state.h"
#include "schedule/scheduler_tick.h"
#include "settings/settings_file.h"

#include <cstdint>
#include <optional>
#include <string>

namespace quorel {

// What the station reaches the world through.
struct StationServices {
    Clock& clock;
    SerialLink& link;
    EventPump& pump;
    Timer& timer;      // TimerSat, the scheduler's 200 ms timer
    Timer& retryTimer; // TimerPort, which tries a port that would not open again every 5 s
    View& view;
    FileLayer& files;           // the files the scheduler watches and the settings file
    ClockSyncSource& clockSync; // the clock's synchronisation
};

// What rings: the scheduler on today's timetable, the relay module behind its port, the journal
// and the port choice kept in Quorel.ini. It runs inside the window's program or alone as a
// service; either drives it through the same start-up and shut-down.
class Station {
  public:
    Station(StationServices services, std::string dataFolder);
    Station(const Station&) = delete;
    Station& operator=(const Station&) = delete;

    // Holds the data folder for this station; false when another one already runs on it.
    [[nodiscard]] bool takeFolder();
    // The first part of the start-up: journals startLine (after reading when the journal last
    // saw the relays driven), clears old journal files and stale temporaries, and loads the
    // settings file, which selects the port. Its messages go to dialogs.
    void open(const std::string& startLine, Dialogs& dialogs);
    // The rest of the start-up: today's timetable loaded, the next bell shown, the entries missed
    // since the last run journaled, the clock's synchronisation checked.
    void startBells();
    // The journal's failure shown in the status line again, when it has one.
    void showJournalFailureAgain();

    // The first part of the shut-down, which must not wait: the timers stopped, each relay still
    // on switched off, the port closed.
    void switchOff();
    // Saves the port choice to Quorel.ini; its failures go to dialogs.
    void saveSettings(Dialogs& dialogs);
    // The journal's last line, "Arrêt de Quorel : <cause>", then the journal closed.
    void close(const std::string& cause);
    void note(const std::string& sentence) { journal_.note(sentence); }
    const std::string& lastJournalLine() const { return journal_.lastLine(); }
    Journal& journal() { return journal_; }

    // What LblProchaine shows: the next bell, or that the bells are stopped while the port
    // choice is "Désactivé".
    NextBellSign shownNextBell() const;
    // Reads the days without bells again at once, after the operator saved them.
    void reloadClosedPeriods();
    // Reads the special timetables and the dated periods again at once: today's timetable is
    // chosen again.
    void reloadSpecialTimetables();
    // Starts the signal of that name of Quorel.signaux from the next tick; why not, in French,
    // or an empty text. askedBy names who asked, for the journal ("la fenêtre").
    std::string startSignal(const std::string& name, const std::string& askedBy);
    // Stops the signal that runs, its outputs off at once; false when none runs.
    bool stopSignal(const std::string& askedBy) { return tick.stopSignal(askedBy); }
    // Suspends or resumes the timetable's bells, kept in Quorel.suspendu so that a restart
    // keeps them suspended; why not, in French, or an empty text.
    std::string setSuspended(bool suspended, const std::string& askedBy);
    LocalDate today() { return services_.clock.localDate(); }
    // Today as the index of its weekday day file, Monday 0.
    int16_t todayIndex();
    const std::string& dataFolder() const { return dataFolder_; }

    ProgramPaths paths;
    SchedulerState scheduler;
    SchedulerCaptions captions;
    RelayPanel panel;

  private:
    StationServices services_;
    std::string dataFolder_;
    DailyJournal journal_;

  public:
    RelayLink relays;
    Outputs outputs;
    SchedulerTick tick;
    ClockWatch clockWatch;
    PortChoice portChoice;
    ManualControls manual;

  private:
    void settingsFile(FileAction action, Dialogs& dialogs);
    void showJournalFailure(const std::string& reason);

    FolderLock folderLock_;
    LocalDate startDate_{};
    std::optional<int> lastSeen_;
};

} // namespace quorel
