#include "ui/special_timetables.h"

#include "platform/file_io.h"
#include "schedule/calendar_date.h"
#include "schedule/day_file_path.h"
#include "ui/closed_periods_editor.h"
#include "ui/dialog_controls.h"
#include "ui/file_messages.h"
#include "ui/program.h"

#include <algorithm>
#include <filesystem>

namespace quorel {

namespace {

using Kind = ControlKind;
using Event = SpecialTimetablesEvent;
using Part = SpecialTimetablesPart;

SpecialTimetablesDescription describe() {
    SpecialTimetablesDescription dialog{.name = "FHorairesParticuliers",
                                        .title = "Horaires particuliers",
                                        .clientWidth = 8400,
                                        .clientHeight = 7440,
                                        .resizable = true};
    using Control = ControlDescription<Event, Part>;
    Control periods = field("Periodes", Kind::ReportList, {165, 3000, 8070, 2355}, Part::Periods,
                            Event::PeriodChosen, kGrows);
    periods.columns = {{"Du"}, {"Au"}, {"Horaire"}};
    dialog.controls = {
        label<Event, Part>("LblHoraires", "Horaires particuliers", {165, 165, 3600, 255}),
        field("ListeHoraires", Kind::ListBox, {165, 450, 3600, 2100}, Part::Timetables,
              Event::TimetableChosen),
        label<Event, Part>("LblNom", "Nom", {3930, 480, 600, 285}),
        field("ChNom", Kind::TextField, {4590, 450, 3645, 330}, Part::Timetables, Event::NameEdited,
              {.right = true}),
        button<Event, Part>("BtnAjouterHoraire", "Ajouter", {3930, 885, 1380, 330},
                            Event::AddTimetable),
        button<Event, Part>("BtnRenommerHoraire", "Renommer", {5393, 885, 1380, 330},
                            Event::RenameTimetable),
        button<Event, Part>("BtnSupprimerHoraire", "Supprimer", {6855, 885, 1380, 330},
                            Event::RemoveTimetable),
        label<Event, Part>("LblPeriodes", "Périodes", {165, 2715, 3600, 255}),
        periods,
        label<Event, Part>("LblDu", "Du", {165, 5490, 495, 345}, kBelow),
        field("ChDu", Kind::DateField, {720, 5490, 3000, 345}, Part::Fields, Event::FromEdited,
              kBelow),
        label<Event, Part>("LblAu", "Au", {3855, 5490, 450, 345}, kBelow),
        field("ChAu", Kind::DateField, {4350, 5490, 3885, 345}, Part::Fields, Event::ToEdited,
              kWidensBelow),
        label<Event, Part>("LblHoraire", "Horaire", {165, 5925, 700, 345}, kBelow),
        field("ComboHoraire", Kind::DropDown, {900, 5925, 7335, 345}, Part::Fields,
              Event::TimetablePicked, kWidensBelow),
        button<Event, Part>("BtnAjouterPeriode", "Ajouter", {165, 6360, 2625, 330},
                            Event::AddPeriod, kBelow),
        button<Event, Part>("BtnSupprimerPeriode", "Supprimer", {2880, 6360, 2640, 330},
                            Event::RemovePeriod, kBelow),
    };
    addSaveAndCancel(dialog, 6945, Event::SaveClicked, Event::CancelClicked);
    return inTabOrder(std::move(dialog));
}

std::string quotedName(const std::string& name) {
    return "« " + name + " »";
}

} // namespace

const SpecialTimetablesDescription& specialTimetablesDescription() {
    static const SpecialTimetablesDescription dialog = describe();
    return dialog;
}

SpecialTimetablesForm::SpecialTimetablesForm(TimetableNames names, std::set<int16_t> dayFiles,
                                             std::vector<DatedPeriodRecord> records,
                                             LocalDate today, ProgramPaths paths, Dialogs& dialogs,
                                             FileLayer& files)
    : names_(std::move(names)), dayFiles_(std::move(dayFiles)), today_(today),
      paths_(std::move(paths)), dialogs_(dialogs), files_(files), days_{today, today} {
    for (DatedPeriodRecord& record : records) {
        insert(std::move(record));
    }
}

void SpecialTimetablesForm::resort() {
    // A record that rings now that its timetable has a name moves among the others by its start.
    std::stable_sort(records_.begin(), records_.end(),
                     [this](const DatedPeriodRecord& left, const DatedPeriodRecord& right) {
                         const std::optional<DatedPeriod> a = datedPeriodOf(left, names_);
                         const std::optional<DatedPeriod> b = datedPeriodOf(right, names_);
                         return a && (!b || a->from < b->from);
                     });
}

void SpecialTimetablesForm::insert(DatedPeriodRecord record) {
    // Sorted by start, after the periods of the same start: which period rings is unchanged.
    // Records that do not ring stay after the others, in their order.
    const std::optional<DatedPeriod> period = datedPeriodOf(record, names_);
    auto place = records_.end();
    if (period) {
        place = std::find_if(records_.begin(), records_.end(), [&](const DatedPeriodRecord& other) {
            const std::optional<DatedPeriod> placed = datedPeriodOf(other, names_);
            return !placed || period->from < placed->from;
        });
    }
    records_.insert(place, std::move(record));
}

std::vector<int16_t> SpecialTimetablesForm::specialNumbers() const {
    std::vector<int16_t> numbers;
    for (int16_t number = kFirstSpecialTimetable; number <= kLastTimetable; ++number) {
        if (names_.count(number) != 0 ||
            (dayFiles_.count(number) != 0 && removed_.count(number) == 0)) {
            numbers.push_back(number);
        }
    }
    return numbers;
}

std::vector<std::string> SpecialTimetablesForm::timetables() const {
    std::vector<std::string> shown;
    for (int16_t number : specialNumbers()) {
        shown.push_back(timetableName(number, names_));
    }
    return shown;
}

void SpecialTimetablesForm::chooseTimetable(std::optional<size_t> row) {
    const std::vector<int16_t> numbers = specialNumbers();
    chosenTimetable_ = row && *row < numbers.size() ? row : std::nullopt;
    if (chosenTimetable_) {
        name_ = timetableName(numbers.at(*chosenTimetable_), names_);
    }
}

bool SpecialTimetablesForm::acceptable(const std::string& name, std::optional<int16_t> renamed) {
    std::string fault = timetableNameFault(name);
    std::vector<int16_t> shown{0, 1, 2, 3, 4, 5, 6};
    for (int16_t number : specialNumbers()) {
        shown.push_back(number);
    }
    for (int16_t day : shown) {
        if (fault.empty() && day != renamed && timetableName(day, names_) == name) {
            fault = "Un horaire porte déjà le nom " + quotedName(name) + ".";
        }
    }
    if (!fault.empty()) {
        dialogs_.message(fault, MessageIcon::Critical);
        return false;
    }
    return true;
}

void SpecialTimetablesForm::addTimetableClicked() {
    // A number whose day file was removed in this dialog is free: the file goes at the save.
    int16_t free = kFirstSpecialTimetable;
    while (free <= kLastTimetable &&
           (names_.count(free) != 0 || (dayFiles_.count(free) != 0 && removed_.count(free) == 0))) {
        ++free;
    }
    if (free > kLastTimetable) {
        dialogs_.message("Il y a déjà neuf horaires particuliers.", MessageIcon::Critical);
        return;
    }
    if (acceptable(name_, std::nullopt)) {
        names_[free] = name_;
        resort();
        chosenTimetable_.reset();
        name_.clear();
    }
}

void SpecialTimetablesForm::renameTimetableClicked() {
    if (!chosenTimetable_) {
        return;
    }
    const int16_t number = specialNumbers().at(*chosenTimetable_);
    if (acceptable(name_, number)) {
        names_[number] = name_;
    }
}

void SpecialTimetablesForm::removeTimetableClicked() {
    if (!chosenTimetable_) {
        return;
    }
    const int16_t number = specialNumbers().at(*chosenTimetable_);
    const std::string name = quotedName(timetableName(number, names_));
    for (const DatedPeriodRecord& record : records_) {
        const std::optional<DatedPeriod> period = datedPeriodOf(record, names_);
        if (period && period->timetable == number) {
            dialogs_.message("L'horaire " + name +
                                 " sonne pendant une période : supprimez d'abord la période.",
                             MessageIcon::Critical);
            return;
        }
    }
    if (dialogs_.ask("Supprimer l'horaire particulier " + name + " et ses entrées ?") !=
        Answer::Yes) {
        return;
    }
    names_.erase(number);
    removed_.insert(number);
    chosenTimetable_.reset();
    name_.clear();
    choice_ = std::min(choice_, timetableChoices().size() - 1);
}

std::vector<DatedPeriodRow> SpecialTimetablesForm::rows() const {
    std::vector<DatedPeriodRow> shown;
    for (const DatedPeriodRecord& record : records_) {
        std::string fault;
        const std::optional<DatedPeriod> period = datedPeriodOf(record, names_, &fault);
        if (period) {
            shown.push_back({frenchDateText(period->from),
                             frenchDateText(period->to),
                             timetableName(period->timetable, names_),
                             period->to < today_,
                             {}});
        } else {
            shown.push_back({record.from, record.to, record.timetable, false, fault});
        }
    }
    return shown;
}

std::vector<std::string> SpecialTimetablesForm::timetableChoices() const {
    std::vector<std::string> choices(kDayNames.begin(), kDayNames.end());
    for (const auto& [number, name] : names_) {
        choices.push_back(name);
    }
    return choices;
}

int16_t SpecialTimetablesForm::timetableOfChoice(size_t choice) const {
    if (choice < kDayNames.size()) {
        return static_cast<int16_t>(choice);
    }
    auto named = names_.begin();
    std::advance(named, static_cast<long>(choice - kDayNames.size()));
    return named->first;
}

void SpecialTimetablesForm::pickTimetable(size_t choice) {
    if (choice < timetableChoices().size()) {
        choice_ = choice;
    }
}

void SpecialTimetablesForm::addPeriodClicked() {
    if (!isRealDate(days_.from) || !isRealDate(days_.to)) {
        dialogs_.message("Cette date n'existe pas.", MessageIcon::Critical);
        return;
    }
    if (days_.to < days_.from) {
        dialogs_.message("La date « Au » (" + frenchDateText(days_.to) +
                             ") précède la date « Du » (" + frenchDateText(days_.from) + ").",
                         MessageIcon::Critical);
        return;
    }
    insert(recordOf({days_.from, days_.to, timetableOfChoice(choice_)}));
    chosenPeriod_.reset();
}

void SpecialTimetablesForm::removePeriodClicked() {
    if (chosenPeriod_ && *chosenPeriod_ < records_.size()) {
        records_.erase(records_.begin() + static_cast<long>(*chosenPeriod_));
        chosenPeriod_.reset();
    }
}

void SpecialTimetablesForm::saveClicked() {
    // The names first: should the periods fail to be written, a new name waits unused, while the
    // other way round a new period would name a timetable that has no name yet.
    for (const auto& [path, bytes] :
         {std::pair{paths_.TimetableNamesPath, timetableNamesBytes(names_)},
          std::pair{paths_.DatedPeriodsPath, datedPeriodsBytes(records_)}}) {
        if (const std::string error = files_.replace(path, bytes); !error.empty()) {
            dialogs_.message(cannotSaveMessage(path, error), MessageIcon::Critical);
            return;
        }
    }
    for (int16_t number : removed_) {
        const std::string file =
            std::filesystem::path(dayFilePath(paths_.DayFilePrefix, number)).filename().string();
        if (files_.exists(paths_.AppFolder + file)) {
            if (const std::string error = files_.remove(paths_.AppFolder, file); !error.empty()) {
                dialogs_.message(cannotSaveMessage(paths_.AppFolder + file, error),
                                 MessageIcon::Critical);
            }
        }
    }
    saved_ = ended_ = true;
}

Action actionOf(SpecialTimetablesEvent event) {
    switch (event) {
    case Event::TimetableChosen:
    case Event::PeriodChosen:
    case Event::TimetablePicked:
        return Action::Pick;
    case Event::NameEdited:
    case Event::FromEdited:
    case Event::ToEdited:
        return Action::Edit;
    default:
        return Action::Click;
    }
}

const FormDescription& SpecialTimetablesForm::description() const {
    static const FormDescription dialog = described(specialTimetablesDescription());
    return dialog;
}

ControlValue SpecialTimetablesForm::value(size_t control, bool /*menuItem*/) const {
    const std::string_view name = description().controls.at(control).name;
    ControlValue shown;
    if (name == "ListeHoraires") {
        shown.items = timetables();
        shown.selected = chosenTimetable_;
    } else if (name == "ChNom") {
        shown.text = name_;
    } else if (name == "Periodes") {
        for (const DatedPeriodRow& row : rows()) {
            shown.rows.push_back({row.from, row.to, row.timetable});
            shown.rowLooks.push_back(!row.fault.empty() ? Look::Warning
                                     : row.over         ? Look::Greyed
                                                        : Look::Plain);
            shown.rowToolTips.push_back(row.fault);
        }
        shown.selected = chosenPeriod_;
    } else if (name == "ComboHoraire") {
        shown.items = timetableChoices();
        shown.selected = choice_;
    }
    days_.show(name, shown);
    return shown;
}

void SpecialTimetablesForm::raise(const ControlInput& input) {
    const std::optional<Event> event = eventOf(description(), input, actionOf);
    if (!event || days_.take(description().controls.at(input.control).name, input) ||
        savedOrCancelled(input)) {
        return;
    }
    switch (*event) {
    case Event::TimetableChosen:
        return chooseTimetable(input.row);
    case Event::NameEdited:
        return setName(input.text);
    case Event::PeriodChosen:
        return choosePeriod(input.row);
    case Event::TimetablePicked:
        if (input.row) {
            pickTimetable(*input.row);
        }
        return;
    case Event::AddTimetable:
        addTimetableClicked();
        break;
    case Event::RenameTimetable:
        renameTimetableClicked();
        break;
    case Event::RemoveTimetable:
        removeTimetableClicked();
        break;
    case Event::AddPeriod:
        addPeriodClicked();
        break;
    case Event::RemovePeriod:
        removePeriodClicked();
        break;
    default:
        return;
    }
    chosenPeriod_.reset(); // the rows may have changed: none is current
}

void editSpecialTimetables(Program& program, FormScreen& screen) {
    Dialogs& dialogs = program.dialogs();
    const ProgramPaths& paths = program.paths;
    std::string files[2];
    int index = 0;
    for (const auto& [path, maxBytes] :
         {std::pair{paths.TimetableNamesPath, kTimetableNamesMaxBytes},
          std::pair{paths.DatedPeriodsPath, kDatedPeriodsMaxBytes}}) {
        if (program.files().stamp(path)) {
            const FileReadResult file = program.files().read(path, maxBytes);
            if (!file.ok()) {
                dialogs.message(cannotReadMessage(path, file.error), MessageIcon::Critical);
                return;
            }
            files[index] = file.bytes;
        }
        ++index;
    }
    std::set<int16_t> dayFiles;
    for (int16_t number = kFirstSpecialTimetable; number <= kLastTimetable; ++number) {
        if (program.files().exists(dayFilePath(paths.DayFilePrefix, number))) {
            dayFiles.insert(number);
        }
    }
    SpecialTimetablesForm form(readTimetableNames(files[0]), std::move(dayFiles),
                               readDatedPeriodRecords(files[1]), program.today(), paths, dialogs,
                               program.files());
    screen.show(form);
    if (form.saved()) {
        program.reloadSpecialTimetables();
    }
}

} // namespace quorel
