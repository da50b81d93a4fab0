#pragma once

#include "core/file_action.h"
#include "core/program_paths.h"
#include "core/view.h"
#include "platform/dialogs.h"
#include "platform/file_layer.h"
#include "schedule/dated_timetables.h"
#include "ui/editor_list.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quorel {

// The timetable being edited (the day list JourSemaine: "Lundi" to "Dimanche", then the special
// timetables), and the moves of a timetable between its day file and the editor's list.
class DayEditor {
  public:
    DayEditor(EditorList& list, const ProgramPaths& paths, Dialogs& dialogs, View& view,
              FileLayer& files = systemFiles());

    // Loads or saves the day file of day (a timetable number, 0 to 15). A load that fails or a save
    // that fails shows a message naming the file and the reason; a failed save leaves the previous
    // file whole.
    void DayFile(FileAction action, int16_t day);

    const std::vector<std::string>& JourSemaine() const { return days_; }
    std::optional<int> selectedDay() const { return selected_; }
    // Fills the day list with "Lundi" to "Dimanche", then the special timetables that have a
    // name or a day file, by name ("Horaire 8" without one), in number order.
    void fillDays();
    // After the special timetables changed: the day list anew, the timetable being edited kept
    // where it still exists; otherwise the list opens today's weekday (todayPosition), the edits
    // of a removed timetable dropped with it.
    void refreshDays(int todayPosition);
    // The timetable number of a position of the day list.
    int16_t timetableAt(int position) const { return timetables_.at(position); }
    // Moves the selection, as the operator or the start-up does, and raises the list's click.
    // With unsaved edits the operator is asked first; "Annuler" leaves the selection where it
    // was.
    void selectDay(int position);

    // Whether the list differs from the rows last loaded from or saved to the selected day's
    // file: an edit, a series, RAZ, a sort that moved rows or another day's rows copied in.
    bool modified() const { return selected_ && list_.rows() != savedRows_; }
    // The name of the day being edited, "Lundi" to "Dimanche"; empty before one is selected.
    std::string editedDayName() const;
    // Before the list's rows are dropped: with unsaved edits, asks whether to save them. Returns
    // whether the caller may go on: "Oui" saves (a failed save counts as "Annuler"), "Non"
    // drops the edits, "Annuler" keeps everything as it is.
    [[nodiscard]] bool askToSaveEdits();
    // The program has shut down: an answer to a question still open changes nothing.
    void endEditing() { ended_ = true; }

    void JourSemaine_Click();
    void BtnSave_Click();
    // An item of the pop-up "Jour" menu: the day list's position + 1, "Lundi" being 1.
    void Jour_Click(int16_t index);

  private:
    void load(const std::string& path);
    // Returns whether the file was written.
    [[nodiscard]] bool save(const std::string& path);
    // Saves the list into day's file; returns whether the file was written.
    bool saveDay(int16_t day);
    // After day's file was loaded or saved: when it is the selected day, its rows are now what
    // edits count against.
    void keepRowsAsStored(int16_t day);

    EditorList& list_;
    const ProgramPaths& paths_;
    Dialogs& dialogs_;
    View& view_;
    FileLayer& files_;
    std::vector<std::string> days_;
    std::vector<int16_t> timetables_;
    std::optional<int> selected_;
    // The rows of the selected day's file as last loaded or saved, against which edits count.
    std::vector<ScheduleEntry> savedRows_;
    bool ended_ = false;
};

} // namespace quorel
