#pragma once

#include "core/journal.h"
#include "core/program_paths.h"
#include "core/view.h"
#include "platform/clock.h"
#include "platform/event_pump.h"
#include "platform/file_layer.h"
#include "schedule/output_switch.h"
#include "schedule/scheduler_state.h"

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace quorel {

// The scheduler's tick, raised by TimerSat every 200 ms while a port is in use: shows the clock,
// switches on the outputs of every entry due at this second (none on a day without bells) from
// the table in memory, shows for how long each output has been on, switches it off once its
// duration has run out, and sends again the relay commands that did not reach the module. Only
// then does it look at the files: at second 00 it reloads today's timetable and the days without
// bells when their files changed, for the next tick; in the last minute of a day it reads the
// next day's timetable ahead, so that midnight reads nothing. A second that went by without a
// tick (the program held up) is caught up when at most 2 s late. The journal is told of each
// switch, of each entry that a day without bells kept silent, and of each that was not rung.
//
// Time: a wall clock that moved beside the monotonic one was set (or the computer slept); a
// change of the UTC offset with no such move is summer time. An entry rings at most once on its
// date, whatever the clock does, and is listed as not rung at most once.
class SchedulerTick {
  public:
    SchedulerTick(SchedulerState& state, SchedulerCaptions& captions, Clock& clock, EventPump& pump,
                  View& view, const ProgramPaths& paths, OutputSwitch& outputs, Journal& journal,
                  FileLayer& files = systemFiles());

    // A tick that arrives while an earlier one is still running (inside one of its yields) is
    // skipped, not queued.
    void TimerSat_Timer();

    // Works out again what LblProchaine announces, from today's table and the days without bells.
    void showNextBell();

    // Notes in the journal today's entries of the seconds from to to that nothing rang, for the
    // reason given ("Quorel n'était pas lancé"); none on a day without bells. They count in the
    // next bell's tool tip until midnight.
    void noteMissedEntries(int from, int to, const std::string& why);

    // The program has just started, today's table loaded; it last drove the relays at second
    // lastSeen of today (the journal's last line), or before midnight. Today's entries from then
    // on are owed: those of the last kLateEntrySeconds before now are left to the first tick,
    // which rings them late, and the earlier ones are listed as missed now.
    void started(std::optional<int> lastSeen);

    // The scheduler starts again after it stood still ("Désactivé", a port that would not open):
    // the seconds it did not look at meanwhile are not owed, but those before the program
    // started that no tick looked at yet are listed as missed.
    void restart();

    // Today's entries counted as missed.
    int missedToday();

    // Runs a signal from the next tick on, in place of one that runs; askedBy says who asked
    // ("la fenêtre", "la ligne de commande"), for the journal.
    void startSignal(const Signal& signal, const std::string& askedBy);
    // Stops the signal that runs at once, its outputs off; false when none runs.
    bool stopSignal(const std::string& askedBy);
    // Suspends or resumes the timetable's bells; signals and the switches still work.
    void setSuspended(bool suspended, const std::string& askedBy);

    // Runs once a new day is in force, after that tick's entries, with its date.
    std::function<void(const LocalDate&)> onNewDay;
    // Runs once a minute, at the first tick from second 30 on that switched no entry on: away
    // from the entries of second 00 and never inside a bell's first tick.
    std::function<void()> onHalfMinute;

  private:
    // An entry switched on late: the second it was due went by without a tick.
    struct LateEntry {
        int second;
        std::string key; // as entryKey: its table may be the day before's
        int output;
        int32_t duration;
        std::string time;
    };
    // The second a tick looked at, and when on the monotonic clock.
    struct Look {
        LocalDate date;
        int second;
        double monotonic;
        int64_t wallMicroseconds;
        double sinceBoot;
        int utcOffset;
    };
    // Seconds of the local time line (seconds since 1970-01-01 local midnight) that no tick
    // looked at: skipped while the program was held up, or that summer time leaves out.
    struct Gap {
        long from;
        long to;
        bool nonexistent;
    };
    // The start-up's owed seconds, until the first tick has looked at them.
    struct Start {
        LocalDate date;
        int from;   // the first second owed
        int second; // the start's own second
    };
    // What became of an entry on its date.
    enum class Fate { Rang, Missed, NotRung };
    struct EntryRecord {
        Fate fate;
        double rangAt; // on the monotonic clock, for Rang
    };
    // What the scan may do with an entry that matches the clock.
    enum class Ring { First, Repeat, Never };

    // Puts date's timetable in force, from what was read ahead when there is one.
    void enterDay(const LocalDate& date);
    // The seconds between the last tick's look and this one's, as gaps, and what changed the
    // clock meanwhile noted in the journal.
    std::vector<Gap> gapsSince(const Look& last, const Look& now);
    // The part of each gap that lies on the day of the table in force (whose local midnight is
    // dayStart) looked at; nowSecond counts from that midnight.
    void lookAtGaps(const std::vector<Gap>& gaps, long dayStart, int nowSecond);
    // The entries of seconds from to to (of the table in force) that no tick looked at: late
    // ones to switch on now, the others noted as not rung. nowSecond counts from the same
    // midnight as from and to.
    void lookAtSkippedSeconds(int from, int to, int nowSecond);
    // The entries of the seconds from to to that summer time left out, noted as not rung.
    void lookAtNonexistentSeconds(int from, int to);
    // Returns true when an entry was switched on.
    bool scanForDueEntries();
    void updateOutputsThatAreOn();
    // Switches the signal's outputs as its pattern says at this tick, and ends it with its
    // pattern.
    void driveSignal(double monotonic);
    // Why an entry on output does not ring now (a signal runs on it, the bells are suspended),
    // as its journal line; empty when it rings.
    std::string heldEntrySentence(const std::string& time, int output, int32_t duration) const;
    void lookAtFiles(const LocalDate& date, int second);
    double elapsedSeconds(int output);
    // Whether the entry of slot was noted already in the second it is due: the ticks that repeat
    // a switch-on within its second add no line.
    bool alreadyNoted(int slot);
    // A wall clock that moved beside the monotonic one: noted with its size; forward, the entries
    // it jumped over are missed.
    void clockJumped(const Look& last, const Look& now, double jump, double slept);
    // Whether the entry of slot may ring now: the first time on its date, again within its own
    // second (a repeat), never later (a clock set back).
    Ring ringing(const std::string& key, double monotonic);
    // Whether a repeat sent now is out before the next second begins; asked only for a repeat,
    // not at every tick.
    bool repeatFits();
    // Records that the entry of slot was not rung; false when it rang or was noted before, so
    // that no entry is listed twice.
    bool firstNoteOf(int slot, Fate fate);
    // The key of the entry of slot on the date of the table in force: "2020-06-22 08:00:00 1".
    std::string entryKey(int slot) const;
    // The journal lines of the entries missed from second from to second to, counted.
    std::vector<std::string> missedEntries(int from, int to, const std::string& why);
    // Whether a file that the next day's timetable depends on changed since it was read ahead.
    bool nextDayFilesChanged();

    SchedulerState& state_;
    SchedulerCaptions& captions_;
    Clock& clock_;
    EventPump& pump_;
    View& view_;
    const ProgramPaths& paths_;
    OutputSwitch& outputs_;
    Journal& journal_;
    FileLayer& files_;
    bool running_ = false;
    std::optional<Look> lastLook_;
    std::optional<Start> start_;
    std::vector<LateEntry> late_;
    // Journal lines kept until the tick's relay bytes are out.
    std::vector<std::string> pendingLines_;
    // The minute whose second 00 looked at the files last.
    LocalDate filesDate_{};
    int filesMinute_ = -1;
    // The minute of the day whose second 30 ran onHalfMinute last, and its date.
    LocalDate halfMinuteDate_{};
    int halfMinute_ = -1;
    bool nextBellMoved_ = false;
    bool newDay_ = false;
    // The date and time of the entries noted last, and their slots.
    std::string notedSecond_;
    std::vector<int> notedSlots_;
    // The entries of the day before and of today that rang or were noted as not rung, by key.
    std::map<std::string, EntryRecord> entries_;
};

// An entry whose second went by without a tick is still switched on this many seconds late.
inline constexpr int kLateEntrySeconds = 2;
// A repeat of a switch-on within its own second is sent only if its relay bytes and their pauses
// (0.3 s for two relays, 0.6 s for four) are out by this far into the second, before the next
// second's first tick, whose entry must not wait for them.
inline constexpr double kRepeatsOverInSecond = 0.9;

} // namespace quorel
