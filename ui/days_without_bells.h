#pragma once

#include "core/form.h"
#include "platform/dialogs.h"
#include "ui/closed_periods_editor.h"
#include "ui/dialog_controls.h"

#include <optional>
#include <string>
#include <vector>

namespace quorel {

class Program;

// What the controls of the dialog "Jours sans sonnerie" raise.
enum class DaysWithoutBellsEvent {
    PeriodChosen,    // JoursSansSonnerie: the current row changed
    FromEdited,      // ChDu: a new date
    ToEdited,        // ChAu: a new date
    LabelEdited,     // ChMotif: a new text
    AddClicked,      // BtnAjouterPeriode
    RemoveClicked,   // BtnSupprimerPeriode
    HolidaysClicked, // BtnJoursFeries
    SaveClicked,     // BtnEnregistrer
    CancelClicked,   // BtnAnnuler
};

// The groups of its controls whose content the form owns.
enum class DaysWithoutBellsPart {
    Periods, // the rows of JoursSansSonnerie
    Fields,  // ChDu, ChAu, ChMotif
};

using DaysWithoutBellsDescription = WindowDescription<DaysWithoutBellsEvent, DaysWithoutBellsPart>;

const DaysWithoutBellsDescription& daysWithoutBellsDescription();
Action actionOf(DaysWithoutBellsEvent event);

// One row of the list: a period's dates as dd/mm/yyyy and its label; a period over is greyed.
struct PeriodRow {
    std::string from;
    std::string to;
    std::string label;
    bool over = false;
    bool operator==(const PeriodRow&) const = default;
};

// What the dialog shows and what its controls do: the periods sorted by start date, the fields of
// a period to add (both dates today at first), the public holidays, and the save.
class DaysWithoutBellsForm final : public EditingForm {
  public:
    DaysWithoutBellsForm(std::vector<ClosedPeriod> periods, LocalDate today, std::string path,
                         Dialogs& dialogs, FileLayer& files = systemFiles());

    std::vector<PeriodRow> rows() const;
    const LocalDate& from() const { return days_.from; }
    const LocalDate& to() const { return days_.to; }
    const std::string& label() const { return label_; }

    // The dialog's current row, none when it has none.
    void choosePeriod(std::optional<size_t> row) { chosen_ = row; }
    void setFrom(const LocalDate& date) { days_.from = date; }
    void setTo(const LocalDate& date) { days_.to = date; }
    void setLabel(std::string text) { label_ = std::move(text); }

    // Adds the period of the fields, then empties the label; a refused one is said in a box.
    void addClicked();
    // Removes the current row's period, if there is one.
    void removeClicked();
    // Adds the public holidays of this year and the next that are not listed yet.
    void holidaysClicked();
    void saveClicked() override;

    const FormDescription& description() const override;
    ControlValue value(size_t control, bool menuItem) const override;
    void raise(const ControlInput& input) override;

  private:
    void changed() { chosen_.reset(); }

    ClosedPeriodsEditor editor_;
    LocalDate today_;
    std::string path_;
    Dialogs& dialogs_;
    FileLayer& files_;
    DayFields days_;
    std::string label_;
    std::optional<size_t> chosen_;
};

// "Jours sans sonnerie…": reads the program's Quorel.conges for editing and shows it on screen;
// once saved, the scheduler reads the file again at once. A file that exists but cannot be read
// is refused with its message, as editing an empty list would overwrite the periods it holds.
void editDaysWithoutBells(Program& program, FormScreen& screen);

} // namespace quorel
