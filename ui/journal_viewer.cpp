#include "ui/journal_viewer.h"

#include "schedule/daily_journal.h"
#include "ui/program.h"

namespace quorel {

namespace {

JournalDescription describe() {
    JournalDescription dialog{
        .name = "FJournal", .title = "Journal", .clientWidth = 9600, .clientHeight = 7200};
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
         .content = JournalPart::Lines},
        {.name = "BtnOuvrirDossier",
         .kind = ControlKind::PushButton,
         .caption = "Ouvrir le dossier",
         .place = {7830, 165, 1605, 330},
         .events = {JournalEvent::OpenFolderClicked}},
        {.name = "BtnFermer",
         .kind = ControlKind::PushButton,
         .caption = "Fermer",
         .place = {8235, 6705, 1200, 330},
         .events = {JournalEvent::CloseClicked}},
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

void JournalViewer::chooseDay(const LocalDate& day) {
    day_ = day;
    lines_ = journalDayText(folder_, day, files_);
}

void showJournal(Program& program, JournalScreen& screen) {
    JournalViewer viewer(program.paths.JournalFolder, program.today(), program.files());
    screen.show(viewer);
}

} // namespace quorel
