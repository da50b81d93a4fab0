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

    // The scheduler starts again after it stood still ("Désactivé", a port that would not open):
    // the seconds it did not look at meanwhile are not owed.
    void restart() { lastLook_.reset(), filesMinute_ = -1; }

    // Runs once a new day is in force, after that tick's entries, with its date.
    std::function<void(const LocalDate&)> onNewDay;
    // Runs once a minute, at the first tick from second 30 on that switched no entry on: away
    // from the entries of second 00 and never inside a bell's first tick.
    std::function<void()> onHalfMinute;

  private:
    // An entry switched on late: the second it was due went by without a tick.
    struct LateEntry {
        int second;
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
    };

    // Puts date's timetable in force, from what was read ahead when there is one.
    void enterDay(const LocalDate& date);
    // The entries of seconds from to to (of the table in force) that no tick looked at: late
    // ones to switch on now, the others noted as not rung. nowSecond counts from the same
    // midnight as from and to.
    void lookAtSkippedSeconds(int from, int to, int nowSecond);
    // Returns true when an entry was switched on.
    bool scanForDueEntries();
    void updateOutputsThatAreOn();
    void lookAtFiles(const LocalDate& date, int second);
    double elapsedSeconds(int output);
    // Whether the entry of slot was noted already in the second it is due: the ticks that repeat
    // a switch-on within its second add no line.
    bool alreadyNoted(int slot);
    // A wall clock that moved beside the monotonic one: noted with its size; forward, the entries
    // it jumped over are missed.
    void clockJumped(const LocalTimeStamp& now, int second, double jump, double slept);
    // Whether the entry of slot rang today already, before its own second: a clock set back
    // never rings an entry twice a day.
    bool rangEarlierToday(int slot, double monotonic);
    // The journal lines of the entries missed from second from to second to, counted.
    std::vector<std::string> missedEntries(int from, int to, const std::string& why);

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
    // When each entry ("08:00:00 1") first rang on ringDate_, on the monotonic clock.
    LocalDate ringDate_{};
    std::map<std::string, double> rang_;
    // The entries noted as missed on missedDate_.
    LocalDate missedDate_{};
    int missed_ = 0;
};

// An entry whose second went by without a tick is still switched on this many seconds late.
inline constexpr int kLateEntrySeconds = 2;

} // namespace quorel
