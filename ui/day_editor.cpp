#include "ui/day_editor.h"

#include "platform/file_io.h"
#include "schedule/day_file_path.h"
#include "schedule/record_reader.h"
#include "schedule/record_writer.h"
#include "schedule/today_table.h"
#include "ui/file_messages.h"

#include <algorithm>

namespace quorel {

DayEditor::DayEditor(EditorList& list, const ProgramPaths& paths, Dialogs& dialogs, View& view,
                     FileLayer& files)
    : list_(list), paths_(paths), dialogs_(dialogs), view_(view), files_(files) {}

void DayEditor::fillDays() {
    days_.assign(kDayNames.begin(), kDayNames.end());
    timetables_ = {0, 1, 2, 3, 4, 5, 6};
    const TimetableNames names = loadTimetableNames(paths_.TimetableNamesPath, files_);
    for (int16_t number = kFirstSpecialTimetable; number <= kLastTimetable; ++number) {
        if (names.count(number) != 0 || files_.exists(dayFilePath(paths_.DayFilePrefix, number))) {
            days_.push_back(timetableName(number, names));
            timetables_.push_back(number);
        }
    }
    view_.redraw(ViewPart::Days);
}

void DayEditor::refreshDays(int todayPosition) {
    const std::optional<int16_t> edited =
        selected_ ? std::optional(timetables_.at(*selected_)) : std::nullopt;
    fillDays();
    const auto kept =
        edited ? std::find(timetables_.begin(), timetables_.end(), *edited) : timetables_.end();
    if (kept != timetables_.end()) {
        selected_ = static_cast<int>(kept - timetables_.begin());
        view_.redraw(ViewPart::Days);
        return;
    }
    selected_ = todayPosition;
    view_.redraw(ViewPart::Days);
    JourSemaine_Click();
}

void DayEditor::selectDay(int position) {
    if (position < 0 || position >= static_cast<int>(days_.size())) {
        return;
    }
    if (!askToSaveEdits()) {
        view_.redraw(ViewPart::Days); // the day list goes back to the day being edited
        return;
    }
    selected_ = position;
    view_.redraw(ViewPart::Days);
    JourSemaine_Click();
}

void DayEditor::JourSemaine_Click() {
    if (selected_) {
        DayFile(FileAction::Load, timetables_.at(*selected_));
    }
}

void DayEditor::BtnSave_Click() {
    if (selected_) {
        DayFile(FileAction::Save, timetables_.at(*selected_));
    }
}

void DayEditor::Jour_Click(int16_t index) {
    if (index >= 1 && index <= static_cast<int16_t>(timetables_.size()) && askToSaveEdits()) {
        DayFile(FileAction::Load, timetables_.at(index - 1));
    }
}

std::string DayEditor::editedDayName() const {
    return selected_ ? days_.at(*selected_) : std::string();
}

bool DayEditor::askToSaveEdits() {
    if (!modified()) {
        return true;
    }
    const Answer answer =
        dialogs_.ask("Enregistrer les modifications de " + editedDayName() + " ?");
    if (ended_) {
        return false;
    }
    switch (answer) {
    case Answer::Yes:
        return saveDay(timetables_.at(*selected_));
    case Answer::No:
        return true;
    case Answer::Cancel:
        break;
    }
    return false;
}

void DayEditor::DayFile(FileAction action, int16_t day) {
    switch (action) {
    case FileAction::Load:
        load(dayFilePath(paths_.DayFilePrefix, day));
        // Another day's rows copied in stay edits of the selected day until "Sauve".
        keepRowsAsStored(day);
        break;
    case FileAction::Save:
        saveDay(day);
        break;
    }
}

bool DayEditor::saveDay(int16_t day) {
    if (!save(dayFilePath(paths_.DayFilePrefix, day))) {
        return false;
    }
    keepRowsAsStored(day);
    return true;
}

void DayEditor::keepRowsAsStored(int16_t day) {
    if (selected_ && timetables_.at(*selected_) == day) {
        savedRows_ = list_.rows();
    }
}

void DayEditor::load(const std::string& path) {
    list_.clear();
    list_.setSortKey(1);
    list_.setSorted(false);
    std::string problem;
    if (files_.exists(path)) {
        const FileReadResult file = files_.read(path, kDayFileMaxBytes);
        if (!file.ok()) {
            problem = cannotReadMessage(path, file.error);
        } else {
            // A line that is not a record is skipped; the records around it load. A file within
            // the bound holds fewer records than the list's rows.
            RecordReader reader(file.bytes);
            while (auto fields = reader.next(3)) {
                list_.add({(*fields)[0], (*fields)[1], (*fields)[2]});
            }
        }
    }
    list_.setSorted(true);
    view_.redraw(ViewPart::List);
    // Shown once the list is complete, so that the window behind the box shows a usable list.
    if (!problem.empty()) {
        dialogs_.message(problem, MessageIcon::Critical);
    }
}

bool DayEditor::save(const std::string& path) {
    list_.setSortKey(1);
    list_.setSorted(true);
    view_.redraw(ViewPart::List);
    std::string bytes;
    for (const ScheduleEntry& row : list_.rows()) {
        writeRecord(bytes, {row.output, row.time, row.duration});
    }
    // A file the scheduler would refuse to read is not written: the old one stays.
    // Written beside the file and renamed over it, so that a failure leaves the old file whole.
    const std::string error = static_cast<int64_t>(bytes.size()) > kDayFileMaxBytes
                                  ? tooLargeFileText(kDayFileMaxBytes)
                                  : files_.replace(path, bytes);
    if (!error.empty()) {
        dialogs_.message(cannotSaveMessage(path, error), MessageIcon::Critical);
        return false;
    }
    return true;
}

} // namespace quorel
