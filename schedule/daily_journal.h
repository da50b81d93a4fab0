#pragma once

#include "core/journal.h"
#include "platform/clock.h"

#include <functional>
#include <optional>
#include <string>

namespace quorel {

// The journal as one UTF-8 text file a day in a folder, "2026-12-07.txt", a line per event:
// "10:15:00.007 Sortie 1 activée (entrée 10:15:00, 5 s)". Each line is one append, without
// waiting for the disk; a line that cannot be written is dropped, and the bells go on.
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
    // Runs when a line cannot be written after the last one could (or as the first), with the
    // system's reason.
    std::function<void(const std::string& reason)> onFailure;

  private:
    Clock& clock_;
    std::string folder_;
    std::string failure_;
    bool closed_ = false;
};

inline constexpr int kJournalKeptDays = 400;

// The file of the journal in folder for date.
std::string journalFilePath(const std::string& folder, const LocalDate& date);
// What the viewer shows for date: the lines of its file, or why there are none.
std::string journalDayText(const std::string& folder, const LocalDate& date);
// The second of the day of the last line of date's journal; none when it has no line.
std::optional<int> lastJournalSecond(const std::string& folder, const LocalDate& date);

} // namespace quorel
