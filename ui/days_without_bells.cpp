#include "ui/days_without_bells.h"

#include "schedule/calendar_date.h"
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
                                       .resizable = true,
                                       .cancelButton = "BtnAnnuler"};
    dialog.controls = {
        {.name = "JoursSansSonnerie",
         .kind = Kind::ReportList,
         .place = {165, 165, 8070, 3840},
         .content = Part::Periods,
         .events = {Event::PeriodChosen},
         .columns = {{"Du"}, {"Au"}, {"Motif"}},
         .anchors = kGrows},
        {.name = "LblDu", .caption = "Du", .place = {165, 4095, 495, 345}, .anchors = kBelow},
        {.name = "ChDu",
         .kind = Kind::DateField,
         .place = {720, 4095, 7515, 345},
         .content = Part::Fields,
         .events = {Event::FromEdited},
         .anchors = kWidensBelow},
        {.name = "LblAu", .caption = "Au", .place = {165, 4530, 495, 345}, .anchors = kBelow},
        {.name = "ChAu",
         .kind = Kind::DateField,
         .place = {720, 4530, 7515, 345},
         .content = Part::Fields,
         .events = {Event::ToEdited},
         .anchors = kWidensBelow},
        {.name = "LblMotif", .caption = "Motif", .place = {165, 4965, 495, 330}, .anchors = kBelow},
        {.name = "ChMotif",
         .kind = Kind::TextField,
         .place = {720, 4965, 7515, 330},
         .content = Part::Fields,
         .events = {Event::LabelEdited},
         .anchors = kWidensBelow},
        {.name = "BtnAjouterPeriode",
         .kind = Kind::PushButton,
         .caption = "Ajouter",
         .place = {165, 5385, 2625, 330},
         .events = {Event::AddClicked},
         .anchors = kBelow},
        {.name = "BtnSupprimerPeriode",
         .kind = Kind::PushButton,
         .caption = "Supprimer",
         .place = {2880, 5385, 2640, 330},
         .events = {Event::RemoveClicked},
         .anchors = kBelow},
        {.name = "BtnJoursFeries",
         .kind = Kind::PushButton,
         .caption = "Ajouter les jours fériés",
         .place = {5610, 5385, 2625, 330},
         .events = {Event::HolidaysClicked},
         .anchors = kBelow},
        {.name = "BtnEnregistrer",
         .kind = Kind::PushButton,
         .caption = "Enregistrer",
         .place = {5745, 5805, 1200, 330},
         .events = {Event::SaveClicked},
         .anchors = kBottomRight},
        {.name = "BtnAnnuler",
         .kind = Kind::PushButton,
         .caption = "Annuler",
         .place = {7035, 5805, 1200, 330},
         .events = {Event::CancelClicked},
         .anchors = kBottomRight},
    };
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
      files_(files), from_(today), to_(today) {}

std::vector<PeriodRow> DaysWithoutBellsForm::rows() const {
    std::vector<PeriodRow> rows;
    for (const ClosedPeriod& period : editor_.periods()) {
        rows.push_back({frenchDateText(period.from), frenchDateText(period.to), period.label,
                        isOver(period, today_)});
    }
    return rows;
}

void DaysWithoutBellsForm::addClicked() {
    const std::string refused = editor_.add(from_, to_, label_);
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

void DaysWithoutBellsForm::click(DaysWithoutBellsEvent event) {
    switch (event) {
    case Event::AddClicked:
        return addClicked();
    case Event::RemoveClicked:
        return removeClicked();
    case Event::HolidaysClicked:
        return holidaysClicked();
    case Event::SaveClicked:
        return saveClicked();
    case Event::CancelClicked:
        return cancelClicked();
    default:
        return;
    }
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
    } else if (name == "ChDu") {
        shown.date = from_;
    } else if (name == "ChAu") {
        shown.date = to_;
    } else if (name == "ChMotif") {
        shown.text = label_;
    }
    return shown;
}

void DaysWithoutBellsForm::raise(const ControlInput& input) {
    const std::optional<Event> event = eventOf(description(), input, actionOf);
    if (!event) {
        return;
    }
    switch (*event) {
    case Event::PeriodChosen:
        return choosePeriod(input.row);
    case Event::FromEdited:
        return setFrom(input.date);
    case Event::ToEdited:
        return setTo(input.date);
    case Event::LabelEdited:
        return setLabel(input.text);
    default:
        click(*event);
        chosen_.reset(); // the rows may have changed: none is current
        return;
    }
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
