#pragma once

#include "platform/dialogs.h"
#include "schedule/program_paths.h"
#include "ui/editor_list.h"
#include "ui/view.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quorel {

inline constexpr std::array<const char*, 7> kDayNames = {"Lundi",    "Mardi",  "Mercredi", "Jeudi",
                                                         "Vendredi", "Samedi", "Dimanche"};

// The day being edited (the day list JourSemaine), and the moves of a day's timetable between its
// day file and the editor's list.
class DayEditor {
  public:
    DayEditor(EditorList& list, const ProgramPaths& paths, Dialogs& dialogs, View& view);

    // "Load" or "Save" (any case) the day file of day; any other action does nothing. A load
    // that fails or a save that fails shows a message naming the file and the reason; a failed
    // save leaves the previous file whole.
    void DayFile(const std::string& action, int16_t day);

    const std::vector<std::string>& JourSemaine() const { return days_; }
    std::optional<int> selectedDay() const { return selected_; }
    // Start-up: fills the day list with "Lundi" to "Dimanche".
    void fillDays();
    // Moves the selection, as the operator or the start-up does, and raises the list's click.
    void selectDay(int position);

    void JourSemaine_Click();
    void BtnSave_Click();
    // An item of the pop-up "Jour" menu, 1 ("Lundi") to 7 ("Dimanche").
    void Jour_Click(int16_t index);

  private:
    void load(const std::string& path);
    void save(const std::string& path);

    EditorList& list_;
    const ProgramPaths& paths_;
    Dialogs& dialogs_;
    View& view_;
    std::vector<std::string> days_;
    std::optional<int> selected_;
};

} // namespace quorel
