#pragma once

#include "core/form.h"
#include "core/program_paths.h"
#include "platform/dialogs.h"
#include "platform/file_layer.h"
#include "schedule/dated_timetables.h"
#include "ui/dialog_controls.h"

#include <optional>
#include <set>
#include <string>
#include <vector>

namespace quorel {

class Program;

// What the controls of the dialog "Horaires particuliers" raise.
enum class SpecialTimetablesEvent {
    TimetableChosen, // ListeHoraires: the selected special timetable changed
    NameEdited,      // ChNom
    AddTimetable,    // BtnAjouterHoraire
    RenameTimetable, // BtnRenommerHoraire
    RemoveTimetable, // BtnSupprimerHoraire
    PeriodChosen,    // Periodes: the current row changed
    FromEdited,      // ChDu
    ToEdited,        // ChAu
    TimetablePicked, // ComboHoraire
    AddPeriod,       // BtnAjouterPeriode
    RemovePeriod,    // BtnSupprimerPeriode
    SaveClicked,     // BtnEnregistrer
    CancelClicked,   // BtnAnnuler
};

enum class SpecialTimetablesPart {
    Timetables, // ListeHoraires and ChNom
    Periods,    // the rows of Periodes
    Fields,     // ChDu, ChAu, ComboHoraire
};

using SpecialTimetablesDescription =
    WindowDescription<SpecialTimetablesEvent, SpecialTimetablesPart>;

const SpecialTimetablesDescription& specialTimetablesDescription();
Action actionOf(SpecialTimetablesEvent event);

// One row of the periods: its dates as dd/mm/yyyy and its timetable's name, or the file's texts
// for a record the scheduler skips, which fault then says why. A period over is greyed.
struct DatedPeriodRow {
    std::string from;
    std::string to;
    std::string timetable;
    bool over = false;
    std::string fault;
    bool operator==(const DatedPeriodRow&) const = default;
};

// What the dialog "Horaires particuliers" shows and what its controls do: the special
// timetables by name (added, renamed, removed), the dated periods sorted by start date (records
// that do not ring after them, in file order), the fields of a period to add, and the save of
// Quorel.noms and Quorel.horaires. Nothing reaches a file before "Enregistrer".
class SpecialTimetablesForm final : public EditingForm {
  public:
    // dayFiles: the special timetables whose day file exists, named or not.
    SpecialTimetablesForm(TimetableNames names, std::set<int16_t> dayFiles,
                          std::vector<DatedPeriodRecord> records, LocalDate today,
                          ProgramPaths paths, Dialogs& dialogs, FileLayer& files = systemFiles());

    // The special timetables, named or with a day file, by name ("Horaire 8" without one), in
    // number order.
    std::vector<std::string> timetables() const;
    std::optional<size_t> chosenTimetable() const { return chosenTimetable_; }
    const std::string& name() const { return name_; }
    void chooseTimetable(std::optional<size_t> row);
    void setName(std::string text) { name_ = std::move(text); }
    // Gives the name of the field to a new, empty special timetable: the first number that has
    // neither a name nor a day file.
    void addTimetableClicked();
    void renameTimetableClicked();
    // Asks for confirmation; refused while a period names the timetable.
    void removeTimetableClicked();

    std::vector<DatedPeriodRow> rows() const;
    // The drop-down's lines: "Lundi" to "Dimanche", then the special timetables that have a
    // name (a period naming one without a name would not ring).
    std::vector<std::string> timetableChoices() const;
    const LocalDate& from() const { return days_.from; }
    const LocalDate& to() const { return days_.to; }
    size_t timetableChoice() const { return choice_; }
    void choosePeriod(std::optional<size_t> row) { chosenPeriod_ = row; }
    void setFrom(const LocalDate& date) { days_.from = date; }
    void setTo(const LocalDate& date) { days_.to = date; }
    void pickTimetable(size_t choice);
    void addPeriodClicked();
    void removePeriodClicked();

    void saveClicked() override;

    const FormDescription& description() const override;
    ControlValue value(size_t control, bool menuItem) const override;
    void raise(const ControlInput& input) override;

  private:
    // The timetable number of a line of the drop-down.
    int16_t timetableOfChoice(size_t choice) const;
    std::vector<int16_t> specialNumbers() const;
    void insert(DatedPeriodRecord record);
    void resort();
    // A name that is refused (bad, or another timetable's already) is said in a box.
    bool acceptable(const std::string& name, std::optional<int16_t> renamed);

    TimetableNames names_;
    std::set<int16_t> dayFiles_;
    std::vector<DatedPeriodRecord> records_;
    LocalDate today_;
    ProgramPaths paths_;
    Dialogs& dialogs_;
    FileLayer& files_;
    std::set<int16_t> removed_;
    std::optional<size_t> chosenTimetable_;
    std::string name_;
    std::optional<size_t> chosenPeriod_;
    DayFields days_;
    size_t choice_ = 0;
};

// "Horaires particuliers…": reads Quorel.noms and Quorel.horaires for editing (a file that exists
// but cannot be read is refused with its message) and shows them; once saved, the day list shows
// the timetables as they are now and today's timetable is chosen again at once.
void editSpecialTimetables(Program& program, FormScreen& screen);

} // namespace quorel
