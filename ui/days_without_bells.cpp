#include "ui/days_without_bells.h"

#include "schedule/calendar_date.h"
#include "ui/dialog_controls.h"
#include "ui/program.h"

namespace quorel {

namespace {

using Kind = ControlKind;
using Event = DaysWithoutBellsEvent;
using Part = DaysWithoutBellsPart;

DaysWithoutBellsDescription describe() {
    DaysWithoutBellsDescription dialog{.name = "FJoursSansSonnerie",
                                       .title = "Jours sans sonnerie",
                                       .clientWidth = 8400,
                                       .clientHeight = 6300,
                                       .resizable = true};
    using Control = ControlDescription<Event, Part>;
    Control periods = field("JoursSansSonnerie", Kind::ReportList, {165, 165, 8070, 3840},
                            Part::Periods, Event::PeriodChosen, kGrows);
    periods.columns = {{"Du"}, {"Au"}, {"Motif"}};
    dialog.controls = {
        periods,
        label<Event, Part>("LblDu", "Du", {165, 4095, 495, 345}, kBelow),
        field("ChDu", Kind::DateField, {720, 4095, 7515, 345}, Part::Fields, Event::FromEdited,
              kWidensBelow),
        label<Event, Part>("LblAu", "Au", {165, 4530, 495, 345}, kBelow),
        field("ChAu", Kind::DateField, {720, 4530, 7515, 345}, Part::Fields, Event::ToEdited,
              kWidensBelow),
        label<Event, Part>("LblMotif", "Motif", {165, 4965, 495, 330}, kBelow),
        field("ChMotif", Kind::TextField, {720, 4965, 7515, 330}, Part::Fields, Event::LabelEdited,
              kWidensBelow),
        button<Event, Part>("BtnAjouterPeriode", "Ajouter", {165, 5385, 2625, 330},
                            Event::AddClicked, kBelow),
        button<Event, Part>("BtnSupprimerPeriode", "Supprimer", {2880, 5385, 2640, 330},
                            Event::RemoveClicked, kBelow),
        button<Event, Part>("BtnJoursFeries", "Ajouter les jours fériés", {5610, 5385, 2625, 330},
                            Event::HolidaysClicked, kBelow),
    };
    addSaveAndCancel(dialog, 5805, Event::SaveClicked, Event::CancelClicked);
    return inTabOrder(std::move(dialog));
}

} // namespace

Action actionOf(DaysWithoutBellsEvent event) {
    switch (event) {
    case Event::PeriodChosen:
        return Action::Pick;
    case Event::FromEdited:
    case Event::ToEdited:
    case Event::LabelEdited:
        return Action::Edit;
    default:
        return Action::Click;
    }
}

const DaysWithoutBellsDescription& daysWithoutBellsDescription() {
    static const DaysWithoutBellsDescription dialog = describe();
    return dialog;
}

DaysWithoutBellsForm::DaysWithoutBellsForm(std::vector<ClosedPeriod> periods, LocalDate today,
                                           std::string path, Dialogs& dialogs, FileLayer& files)
    : editor_(std::move(periods)), today_(today), path_(std::move(path)), dialogs_(dialogs),
      files_(files), days_{today, today} {}

std::vector<PeriodRow> DaysWithoutBellsForm::rows() const {
    std::vector<PeriodRow> rows;
    for (const ClosedPeriod& period : editor_.periods()) {
        rows.push_back({frenchDateText(period.from), frenchDateText(period.to), period.label,
                        isOver(period, today_)});
    }
    return rows;
}

void DaysWithoutBellsForm::addClicked() {
    const std::string refused = editor_.add(days_.from, days_.to, label_);
    if (!refused.empty()) {
        dialogs_.message(refused, MessageIcon::Critical);
        return;
    }
    label_.clear();
    changed();
}

void DaysWithoutBellsForm::removeClicked() {
    if (chosen_) {
        editor_.remove(*chosen_);
        changed();
    }
}

void DaysWithoutBellsForm::holidaysClicked() {
    editor_.addPublicHolidays(today_.year);
    changed();
}

void DaysWithoutBellsForm::saveClicked() {
    const std::string failure = editor_.save(path_, files_);
    if (!failure.empty()) {
        dialogs_.message(failure, MessageIcon::Critical);
        return;
    }
    saved_ = ended_ = true;
}

const FormDescription& DaysWithoutBellsForm::description() const {
    static const FormDescription dialog = described(daysWithoutBellsDescription());
    return dialog;
}

ControlValue DaysWithoutBellsForm::value(size_t control, bool /*menuItem*/) const {
    const std::string_view name = description().controls.at(control).name;
    ControlValue shown;
    if (name == "JoursSansSonnerie") {
        for (const PeriodRow& row : rows()) {
            shown.rows.push_back({row.from, row.to, row.label});
            shown.rowLooks.push_back(row.over ? Look::Greyed : Look::Plain);
        }
        shown.selected = chosen_;
    } else if (name == "ChMotif") {
        shown.text = label_;
    }
    days_.show(name, shown);
    return shown;
}

void DaysWithoutBellsForm::raise(const ControlInput& input) {
    const std::optional<Event> event = eventOf(description(), input, actionOf);
    if (!event || days_.take(description().controls.at(input.control).name, input) ||
        savedOrCancelled(input)) {
        return;
    }
    switch (*event) {
    case Event::PeriodChosen:
        return choosePeriod(input.row);
    case Event::LabelEdited:
        return setLabel(input.text);
    case Event::AddClicked:
        addClicked();
        break;
    case Event::RemoveClicked:
        removeClicked();
        break;
    case Event::HolidaysClicked:
        holidaysClicked();
        break;
    default:
        return;
    }
    chosen_.reset(); // the rows may have changed: none is current
}

void editDaysWithoutBells(Program& program, FormScreen& screen) {
    Dialogs& dialogs = program.dialogs();
    const std::string& path = program.paths.ClosedPeriodsPath;
    std::vector<ClosedPeriod> periods;
    if (const std::string failure = readForEditing(path, periods, program.files());
        !failure.empty()) {
        dialogs.message(failure, MessageIcon::Critical);
        return;
    }
    DaysWithoutBellsForm form(std::move(periods), program.today(), path, dialogs, program.files());
    screen.show(form);
    if (form.saved()) {
        program.reloadClosedPeriods();
    }
}

} // namespace quorel
