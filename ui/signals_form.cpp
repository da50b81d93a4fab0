#include "ui/signals_form.h"

#include "ui/file_messages.h"
#include "ui/row_warnings.h"

namespace quorel {

namespace {

using Kind = ControlKind;
using Event = SignalsEvent;
using Part = SignalsPart;

SignalsDescription describe() {
    SignalsDescription dialog{.name = "FSignaux",
                              .title = "Signaux",
                              .clientWidth = 8400,
                              .clientHeight = 6000,
                              .resizable = true};
    dialog.controls.push_back({.name = "ListeSignaux",
                               .kind = Kind::ReportList,
                               .place = {165, 165, 8070, 2820},
                               .content = Part::List,
                               .events = {Event::SignalChosen},
                               .columns = {{"Nom"}, {"Sorties"}, {"Durées (s)"}, {"Répétitions"}},
                               .anchors = kGrows});
    const struct {
        const char* label;
        const char* caption;
        const char* field;
        Event event;
        const char* toolTip;
    } fields[] = {
        {"LblNom", "Nom", "ChNom", Event::NameEdited, ""},
        {"LblSorties", "Sorties", "ChSorties", Event::OutputsEdited, "1 à 4, par exemple 1+2"},
        {"LblDurees", "Durées", "ChDurees", Event::DurationsEdited,
         "En secondes, marche et arrêt tour à tour, par exemple 1,1 ou 0.5,1.5"},
        {"LblRepetitions", "Répétitions", "ChRepetitions", Event::RepeatsEdited,
         "Combien de fois les durées se suivent ; 0 : jusqu'à l'arrêt"},
    };
    int top = 3120;
    for (const auto& each : fields) {
        dialog.controls.push_back({.name = each.label,
                                   .caption = each.caption,
                                   .place = {165, top + 30, 1200, 285},
                                   .anchors = kBelow});
        dialog.controls.push_back({.name = each.field,
                                   .kind = Kind::TextField,
                                   .toolTip = each.toolTip,
                                   .place = {1440, top, 6795, 330},
                                   .content = Part::Fields,
                                   .events = {each.event},
                                   .anchors = kWidensBelow});
        top += 420;
    }
    const struct {
        const char* name;
        const char* caption;
        int left;
        Event event;
    } buttons[] = {{"BtnAjouter", "Ajouter", 165, Event::AddClicked},
                   {"BtnModifier", "Modifier", 2880, Event::ChangeClicked},
                   {"BtnSupprimer", "Supprimer", 5610, Event::RemoveClicked}};
    for (const auto& each : buttons) {
        dialog.controls.push_back(button<Event, Part>(
            each.name, each.caption, {each.left, top, 2625, 330}, each.event, kBelow));
    }
    addSaveAndCancel(dialog, 5505, Event::SaveClicked, Event::CancelClicked);
    return inTabOrder(std::move(dialog));
}

} // namespace

const SignalsDescription& signalsDescription() {
    static const SignalsDescription dialog = describe();
    return dialog;
}

Action actionOf(SignalsEvent event) {
    switch (event) {
    case Event::SignalChosen:
        return Action::Pick;
    case Event::NameEdited:
    case Event::OutputsEdited:
    case Event::DurationsEdited:
    case Event::RepeatsEdited:
        return Action::Edit;
    default:
        return Action::Click;
    }
}

SignalsForm::SignalsForm(std::vector<SignalRecord> records, std::string path, Dialogs& dialogs,
                         FileLayer& files, int moduleRelays)
    : records_(std::move(records)), path_(std::move(path)), dialogs_(dialogs), files_(files),
      moduleRelays_(moduleRelays) {}

void SignalsForm::choose(std::optional<size_t> row) {
    chosen_ = row && *row < records_.size() ? row : std::nullopt;
    if (chosen_) {
        fields_ = records_[*chosen_];
    }
}

bool SignalsForm::acceptable(std::optional<size_t> row) {
    std::string fault;
    if (!signalOf(fields_, &fault)) {
        dialogs_.message("Signal refusé : " + fault, MessageIcon::Critical);
        return false;
    }
    for (size_t i = 0; i < records_.size(); ++i) {
        if (records_[i].name == fields_.name && row != i) {
            dialogs_.message("Signal refusé : le nom « " + fields_.name + " » est déjà pris",
                             MessageIcon::Critical);
            return false;
        }
    }
    return true;
}

void SignalsForm::addClicked() {
    if (acceptable(std::nullopt)) {
        records_.push_back(fields_);
    }
}

void SignalsForm::changeClicked() {
    if (chosen_ && acceptable(chosen_)) {
        records_[*chosen_] = fields_;
    }
}

void SignalsForm::removeClicked() {
    if (chosen_) {
        records_.erase(records_.begin() + static_cast<std::ptrdiff_t>(*chosen_));
    }
}

void SignalsForm::saveClicked() {
    if (const std::string failure = files_.replace(path_, signalsBytes(records_));
        !failure.empty()) {
        dialogs_.message(cannotSaveMessage(path_, failure), MessageIcon::Critical);
        return;
    }
    saved_ = ended_ = true;
}

const FormDescription& SignalsForm::description() const {
    static const FormDescription dialog = described(signalsDescription());
    return dialog;
}

ControlValue SignalsForm::value(size_t control, bool /*menuItem*/) const {
    const std::string_view name = description().controls.at(control).name;
    ControlValue shown;
    if (name == "ListeSignaux") {
        for (const SignalRecord& record : records_) {
            std::string fault;
            if (const std::optional<Signal> signal = signalOf(record, &fault)) {
                // An output without a relay on this module: the signal rings nothing there.
                for (int output : signal->outputs) {
                    if (fault.empty()) {
                        fault = rowWarningToolTip(outputWarning(output, moduleRelays_));
                    }
                }
            } else {
                fault = "Signal ignoré : " + fault;
            }
            shown.rows.push_back(
                {record.name, record.outputs, record.durations,
                 record.repetitions == "0" ? "jusqu'à l'arrêt" : record.repetitions});
            shown.rowLooks.push_back(fault.empty() ? Look::Plain : Look::Warning);
            shown.rowToolTips.push_back(fault);
        }
        shown.selected = chosen_;
    } else if (name == "ChNom") {
        shown.text = fields_.name;
    } else if (name == "ChSorties") {
        shown.text = fields_.outputs;
    } else if (name == "ChDurees") {
        shown.text = fields_.durations;
    } else if (name == "ChRepetitions") {
        shown.text = fields_.repetitions;
    }
    return shown;
}

void SignalsForm::raise(const ControlInput& input) {
    const std::optional<Event> event = eventOf(description(), input, actionOf);
    if (!event || savedOrCancelled(input)) {
        return;
    }
    switch (*event) {
    case Event::SignalChosen:
        return choose(input.row);
    case Event::NameEdited:
        fields_.name = input.text;
        return;
    case Event::OutputsEdited:
        fields_.outputs = input.text;
        return;
    case Event::DurationsEdited:
        fields_.durations = input.text;
        return;
    case Event::RepeatsEdited:
        fields_.repetitions = input.text;
        return;
    case Event::AddClicked:
        addClicked();
        break;
    case Event::ChangeClicked:
        changeClicked();
        break;
    case Event::RemoveClicked:
        removeClicked();
        break;
    default:
        return;
    }
    chosen_.reset(); // the rows may have changed: none is current
}

} // namespace quorel
