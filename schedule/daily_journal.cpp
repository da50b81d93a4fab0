#include "schedule/daily_journal.h"

#include "platform/file_io.h"
#include "schedule/calendar_date.h"
#include "schedule/time_text.h"

#include <optional>

namespace quorel {

namespace {

constexpr std::string_view kExtension = ".txt";

// The date in a day file's name, "2026-12-07.txt"; nullopt for any other name.
std::optional<LocalDate> dayOfFile(std::string_view name) {
    if (!name.ends_with(kExtension)) {
        return std::nullopt;
    }
    name.remove_suffix(kExtension.size());
    return parseIsoDate(name);
}

} // namespace

DailyJournal::DailyJournal(Clock& clock, std::string folder)
    : clock_(clock), folder_(std::move(folder)) {}

void DailyJournal::note(const std::string& sentence) {
    if (closed_) {
        return;
    }
    // One reading gives both the line's time and its file.
    const LocalTimeStamp now = clock_.localTimeStamp();
    const std::string path = journalFilePath(folder_, now.date);
    const std::string line = now.time + " " + sentence + "\n";
    std::string error = appendToFile(path, line);
    // Made at the first line, and again if someone removed it; a line that failed for another
    // reason is not tried twice, so that half a line is never followed by a whole one.
    if (!error.empty() && !fileStamp(folder_) && createFolder(folder_).empty()) {
        error = appendToFile(path, line);
    }
    if (error.empty()) {
        failure_.clear();
        return;
    }
    const bool first = failure_.empty();
    failure_ = error;
    if (first && onFailure) {
        onFailure(error);
    }
}

// The 400 days are counted back from the day after the newest file dated before today (today's own
// file may be this run's first line), never from beyond today: a clock that jumps years ahead
// deletes nothing more than the right date would have.
void DailyJournal::removeOldFiles(const LocalDate& today) {
    const std::vector<std::string> names = regularFilesIn(folder_);
    std::optional<LocalDate> newest;
    for (const std::string& name : names) {
        const std::optional<LocalDate> day = dayOfFile(name);
        if (day && *day < today && (!newest || *newest < *day)) {
            newest = day;
        }
    }
    if (!newest) {
        return;
    }
    const LocalDate dayAfter = addDays(*newest, 1);
    const LocalDate reference = today < dayAfter ? today : dayAfter;
    const LocalDate oldestKept = addDays(reference, -kJournalKeptDays);
    for (const std::string& name : names) {
        const std::optional<LocalDate> day = dayOfFile(name);
        if (day && *day < oldestKept) {
            // A file that stays is tried again at the next start or the next midnight.
            [[maybe_unused]] const std::string retriedLater = removeFileIn(folder_, name);
        }
    }
}

std::string journalFilePath(const std::string& folder, const LocalDate& date) {
    return folder + isoDateText(date) + std::string(kExtension);
}

std::optional<int> lastJournalSecond(const std::string& folder, const LocalDate& date) {
    const FileReadResult file = readWholeFile(journalFilePath(folder, date));
    if (!file.ok()) {
        return std::nullopt;
    }
    std::string_view bytes = file.bytes;
    while (!bytes.empty() && (bytes.back() == '\n' || bytes.back() == '\r')) {
        bytes.remove_suffix(1);
    }
    const size_t lineStart = bytes.find_last_of('\n');
    const std::string_view line =
        bytes.substr(lineStart == std::string_view::npos ? 0 : lineStart + 1);
    return clockSecondOfDay(std::string(line.substr(0, 8)));
}

std::string journalDayText(const std::string& folder, const LocalDate& date) {
    const std::string path = journalFilePath(folder, date);
    const FileReadResult file = readWholeFile(path);
    if (file.ok() && !file.bytes.empty()) {
        return file.bytes;
    }
    if (file.ok() || !fileStamp(path)) {
        return "Aucun événement ce jour.";
    }
    return "Journal illisible : " + file.error;
}

} // namespace quorel
