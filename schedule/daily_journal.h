#pragma once

#include "core/journal.h"
#include "platform/clock.h"
#include "platform/file_layer.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace quorel {

// The journal as one UTF-8 text file a day in a folder, "2026-12-07.txt", a line per event:
// "10:15:00.007 Sortie 1 activée (entrée 10:15:00, 5 s)". Each line is one append, without
// waiting for the disk; a line that cannot be written is dropped, and the bells go on. The first
// line written to a file that does not end with a line end (cut short by a power cut, or ending
// in the NUL bytes one can leave) starts on a line of its own.
class DailyJournal final : public Journal {
  public:
    // folder ends in the separator; it is made when the first line needs it.
    DailyJournal(Clock& clock, std::string folder);

    // Nothing is written once the journal is closed.
    void note(const std::string& sentence) override;
    // After the line that says the program ends: what runs after it (a relay command interrupted
    // by the shut-down) is not what the program did in service.
    void close() { closed_ = true; }
    // Deletes the day files dated more than kJournalKeptDays before the newest day before today
    // that has a file: a clock far ahead deletes nothing that the right date would keep. Only
    // regular files of a real folder go, never through a symbolic link.
    void removeOldFiles(const LocalDate& today);

    // The system's reason why the last line could not be written; empty once one could.
    const std::string& failure() const { return failure_; }
    // The last line noted, with its time ("10:15:00.007 Entrée …"), written or not.
    const std::string& lastLine() const { return lastLine_; }
    // Runs when a line cannot be written after the last one could (or as the first), with the
    // system's reason.
    std::function<void(const std::string& reason)> onFailure;

  private:
    Clock& clock_;
    std::string folder_;
    // The day file whose end was looked at since the last line that could not be written.
    std::string endLookedAt_;
    std::string failure_;
    std::string lastLine_;
    bool closed_ = false;
};

inline constexpr int kJournalKeptDays = 400;

// The file of the journal in folder for date.
std::string journalFilePath(const std::string& folder, const LocalDate& date);
// How much of the end of a day file the start-up reads for its last line, and the viewer shows.
inline constexpr int64_t kJournalTailBytes = 64 * 1024;
inline constexpr int64_t kJournalShownBytes = 2 * 1024 * 1024;

// What the viewer shows for date: the lines of its file, or why there are none. Of a file over
// kJournalShownBytes, only the whole lines of its end, after a line saying the rest is left out.
std::string journalDayText(const std::string& folder, const LocalDate& date,
                           FileLayer& files = systemFiles());
// The second of the day of the last line of date's journal that begins with a time stamp, looked
// for in the last kJournalTailBytes of its file: what follows it (NUL bytes, or half a line left
// by a power cut) is passed over. None when it has no such line.
std::optional<int> lastJournalSecond(const std::string& folder, const LocalDate& date);

} // namespace quorel
