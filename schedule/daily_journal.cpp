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

// The second of a line that begins with a time stamp as note writes it, "10:15:00.007 ".
std::optional<int> stampedSecond(std::string_view line) {
    if (line.size() < 13 || line[8] != '.' || line[12] != ' ') {
        return std::nullopt;
    }
    for (size_t i = 9; i < 12; ++i) {
        if (line[i] < '0' || line[i] > '9') {
            return std::nullopt;
        }
    }
    return clockSecondOfDay(std::string(line.substr(0, 8)));
}

// Whether the file ends inside a line, so that the next line must start with a line end.
bool endsInsideALine(const std::string& path) {
    const FileReadResult end = readFileTail(path, 1);
    return end.ok() && !end.bytes.empty() && end.bytes.back() != '\n';
}

// The bytes after the first line end: a tail that starts inside a line without its beginning.
std::string_view fromSecondLine(std::string_view bytes) {
    const size_t lineEnd = bytes.find('\n');
    return lineEnd == std::string_view::npos ? std::string_view() : bytes.substr(lineEnd + 1);
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
    // The end is looked at once per file, not before every line: only this program writes to it.
    const bool lineEndFirst = path != endLookedAt_ && endsInsideALine(path);
    lastLine_ = now.time + " " + sentence;
    const std::string line = (lineEndFirst ? "\n" : "") + lastLine_ + "\n";
    std::string error = appendToFile(path, line);
    // Made at the first line, and again if someone removed it; a line that failed for another
    // reason is not tried twice, so that half a line is never followed by a whole one.
    if (!error.empty() && !fileStamp(folder_) && createFolder(folder_).empty()) {
        error = appendToFile(path, line);
    }
    if (error.empty()) {
        endLookedAt_ = path;
        failure_.clear();
        return;
    }
    // A write that failed may have left half a line.
    endLookedAt_.clear();
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
    const FileReadResult tail = readFileTail(journalFilePath(folder, date), kJournalTailBytes);
    if (!tail.ok()) {
        return std::nullopt;
    }
    const std::string_view bytes = tail.beginningLeftOut ? fromSecondLine(tail.bytes) : tail.bytes;
    // From the last line back to the first that begins with a time stamp.
    size_t lineEnd = bytes.size();
    while (lineEnd > 0) {
        const size_t previousEnd = bytes.rfind('\n', lineEnd - 1);
        const size_t lineStart = previousEnd == std::string_view::npos ? 0 : previousEnd + 1;
        if (const std::optional<int> second =
                stampedSecond(bytes.substr(lineStart, lineEnd - lineStart))) {
            return second;
        }
        if (previousEnd == std::string_view::npos) {
            break;
        }
        lineEnd = previousEnd;
    }
    return std::nullopt;
}

std::string journalDayText(const std::string& folder, const LocalDate& date, FileLayer& files) {
    const std::string path = journalFilePath(folder, date);
    const FileReadResult file = files.tail(path, kJournalShownBytes);
    if (file.ok() && file.beginningLeftOut) {
        return "[Début de la journée non affiché : seuls les " +
               std::to_string(kJournalShownBytes / (1024 * 1024)) +
               " derniers Mio du fichier le sont.]\n" + std::string(fromSecondLine(file.bytes));
    }
    if (file.ok() && !file.bytes.empty()) {
        return file.bytes;
    }
    if (file.ok() || !files.stamp(path)) {
        return "Aucun événement ce jour.";
    }
    return "Journal illisible : " + file.error;
}

} // namespace quorel
