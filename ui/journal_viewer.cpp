#include "ui/journal_viewer.h"

#include "schedule/daily_journal.h"
#include "ui/program.h"

namespace quorel {

namespace {

JournalDescription describe() {
    JournalDescription dialog{.name = "FJournal",
                              .title = "Journal",
                              .clientWidth = 9600,
                              .clientHeight = 7200,
                              .resizable = true,
                              .cancelButton = "BtnFermer"};
    dialog.controls = {
        {.name = "LblJour", .caption = "Jour", .place = {165, 165, 360, 345}},
        {.name = "ChDateJournal",
         .kind = ControlKind::DateField,
         .place = {615, 165, 1455, 345},
         .content = JournalPart::Day,
         .events = {JournalEvent::DayChosen}},
        {.name = "TexteJournal",
         .kind = ControlKind::LinesView,
         .place = {165, 600, 9270, 6015},
         .content = JournalPart::Lines,
         .anchors = kGrows},
        {.name = "BtnOuvrirDossier",
         .kind = ControlKind::PushButton,
         .caption = "Ouvrir le dossier",
         .place = {7830, 165, 1605, 330},
         .events = {JournalEvent::OpenFolderClicked},
         .anchors = {.left = false, .right = true}},
        {.name = "BtnFermer",
         .kind = ControlKind::PushButton,
         .caption = "Fermer",
         .place = {8235, 6705, 1200, 330},
         .events = {JournalEvent::CloseClicked},
         .anchors = kBottomRight},
    };
    return inTabOrder(std::move(dialog));
}

} // namespace

const JournalDescription& journalDescription() {
    static const JournalDescription dialog = describe();
    return dialog;
}

JournalViewer::JournalViewer(std::string folder, LocalDate today, FileLayer& files)
    : folder_(std::move(folder)), day_(today), files_(files),
      lines_(journalDayText(folder_, today, files_)) {}

Action actionOf(JournalEvent event) {
    return event == JournalEvent::DayChosen ? Action::Edit : Action::Click;
}

const FormDescription& JournalViewer::description() const {
    static const FormDescription dialog = described(journalDescription());
    return dialog;
}

ControlValue JournalViewer::value(size_t control, bool /*menuItem*/) const {
    ControlValue shown;
    if (description().controls.at(control).content == static_cast<int>(JournalPart::Day)) {
        shown.date = day_;
    } else {
        shown.text = lines_;
    }
    return shown;
}

void JournalViewer::raise(const ControlInput& input) {
    switch (eventOf(description(), input, actionOf).value_or(JournalEvent::DayChosen)) {
    case JournalEvent::DayChosen:
        if (input.action == Action::Edit) {
            chooseDay(input.date);
        }
        return;
    case JournalEvent::OpenFolderClicked:
        if (openFolder) {
            openFolder(folder_);
        }
        return;
    case JournalEvent::CloseClicked:
        ended_ = true;
        return;
    }
}

void JournalViewer::chooseDay(const LocalDate& day) {
    day_ = day;
    lines_ = journalDayText(folder_, day, files_);
}

void showJournal(Program& program, FormScreen& screen) {
    JournalViewer viewer(program.paths.JournalFolder, program.today(), program.files());
    viewer.openFolder = [&screen](const std::string& folder) { screen.openFolder(folder); };
    screen.show(viewer);
}

} // namespace quorel
