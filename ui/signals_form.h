#pragma once

#include "core/form.h"
#include "platform/dialogs.h"
#include "platform/file_layer.h"
#include "schedule/signals.h"
#include "ui/dialog_controls.h"

#include <optional>
#include <string>
#include <vector>

namespace quorel {

// What the controls of the dialog "Signaux" raise.
enum class SignalsEvent {
    SignalChosen,    // ListeSignaux: the current row changed
    NameEdited,      // ChNom
    OutputsEdited,   // ChSorties
    DurationsEdited, // ChDurees
    RepeatsEdited,   // ChRepetitions
    AddClicked,      // BtnAjouter
    ChangeClicked,   // BtnModifier
    RemoveClicked,   // BtnSupprimer
    SaveClicked,     // BtnEnregistrer
    CancelClicked,   // BtnAnnuler
};

enum class SignalsPart {
    List,   // the rows of ListeSignaux
    Fields, // ChNom, ChSorties, ChDurees, ChRepetitions
};

using SignalsDescription = WindowDescription<SignalsEvent, SignalsPart>;
const SignalsDescription& signalsDescription();
Action actionOf(SignalsEvent event);

// What the dialog "Signaux" shows and what its controls do: the records of Quorel.signaux in
// file order (one that cannot run in red, with why), the fields of a signal to add or change,
// with the same checks as the file's, and the save. Nothing reaches the file before
// "Enregistrer".
class SignalsForm final : public EditingForm {
  public:
    // moduleRelays: the relays the module drives; a signal on an output without one is marked.
    SignalsForm(std::vector<SignalRecord> records, std::string path, Dialogs& dialogs,
                FileLayer& files, int moduleRelays = 2);

    const std::vector<SignalRecord>& records() const { return records_; }
    const SignalRecord& fields() const { return fields_; }
    void choose(std::optional<size_t> row);
    // Adds the signal of the fields, or replaces the chosen one with it; a signal refused (bad,
    // or of a name taken) is said in a box and the fields stay.
    void addClicked();
    void changeClicked();
    void removeClicked();
    // Writes Quorel.signaux; a failure is said in a box and the dialog stays open.
    void saveClicked() override;

    const FormDescription& description() const override;
    ControlValue value(size_t control, bool menuItem) const override;
    void raise(const ControlInput& input) override;

  private:
    // Whether the fields make a signal that may take the place of row (none: a new one).
    bool acceptable(std::optional<size_t> row);

    std::vector<SignalRecord> records_;
    std::string path_;
    Dialogs& dialogs_;
    FileLayer& files_;
    SignalRecord fields_{"", "1", "1,1", "0"};
    std::optional<size_t> chosen_;
    int moduleRelays_;
};

} // namespace quorel
