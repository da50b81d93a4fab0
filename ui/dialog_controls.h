#pragma once

#include "core/form.h"

#include <string_view>

namespace quorel {

// The usual controls of the program's dialogs, so that each description says only what differs.
template <typename Event, typename Part>
ControlDescription<Event, Part> label(const char* name, const char* caption, TwipsRect place,
                                      Anchors anchors = {}) {
    return {.name = name, .caption = caption, .place = place, .anchors = anchors};
}

// A field, a date field, a drop-down or a list whose content the form owns.
template <typename Event, typename Part>
ControlDescription<Event, Part> field(const char* name, ControlKind kind, TwipsRect place,
                                      Part content, Event event, Anchors anchors = {}) {
    return {.name = name,
            .kind = kind,
            .place = place,
            .content = content,
            .events = {event},
            .anchors = anchors};
}

template <typename Event, typename Part>
ControlDescription<Event, Part> button(const char* name, const char* caption, TwipsRect place,
                                       Event event, Anchors anchors = {}) {
    return {.name = name,
            .kind = ControlKind::PushButton,
            .caption = caption,
            .place = place,
            .events = {event},
            .anchors = anchors};
}

// "Enregistrer" and "Annuler" (Escape), in the bottom right corner of a dialog 8400 twips wide,
// their top at top.
template <typename Event, typename Part>
void addSaveAndCancel(WindowDescription<Event, Part>& dialog, int top, Event save, Event cancel) {
    dialog.controls.push_back(button<Event, Part>("BtnEnregistrer", "Enregistrer",
                                                  {5745, top, 1200, 330}, save, kBottomRight));
    dialog.controls.push_back(
        button<Event, Part>("BtnAnnuler", "Annuler", {7035, top, 1200, 330}, cancel, kBottomRight));
    dialog.cancelButton = "BtnAnnuler";
}

// The days "Du" and "Au" of a dialog that edits dated periods, shown and set by ChDu and ChAu.
struct DayFields {
    LocalDate from;
    LocalDate to;
    // Shows the day of ChDu or ChAu; false for another control.
    bool show(std::string_view control, ControlValue& shown) const {
        if (control == "ChDu" || control == "ChAu") {
            shown.date = control == "ChDu" ? from : to;
            return true;
        }
        return false;
    }
    // Takes a day set in ChDu or ChAu; false for another control.
    bool take(std::string_view control, const ControlInput& input) {
        if (input.action == Action::Edit && (control == "ChDu" || control == "ChAu")) {
            (control == "ChDu" ? from : to) = input.date;
            return true;
        }
        return false;
    }
};

// A form that edits a file: it ends on "Annuler", or once it has saved.
class EditingForm : public Form {
  public:
    bool ended() const override { return ended_; }
    bool saved() const { return saved_; }
    // Writes the file and ends the dialog; a failure is said in a box and the dialog stays open.
    virtual void saveClicked() = 0;
    // Ends the dialog, the file left as it is.
    virtual void cancelClicked() { ended_ = true; }

  protected:
    // Runs "Enregistrer" or "Annuler" when the input clicked one of them.
    bool savedOrCancelled(const ControlInput& input) {
        if (input.menuItem || input.action != Action::Click) {
            return false;
        }
        const std::string_view name = description().controls.at(input.control).name;
        if (name == "BtnEnregistrer") {
            saveClicked();
        } else if (name == "BtnAnnuler") {
            cancelClicked();
        }
        return name == "BtnEnregistrer" || name == "BtnAnnuler";
    }

    bool ended_ = false;
    bool saved_ = false;
};

} // namespace quorel
