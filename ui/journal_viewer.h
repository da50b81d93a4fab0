#pragma once

#include "core/control_description.h"
#include "platform/clock.h"
#include "platform/file_layer.h"

#include <string>

namespace quorel {

class Program;

// What the controls of the dialog "Journal" raise.
enum class JournalEvent {
    DayChosen,         // ChDateJournal: a new date
    OpenFolderClicked, // BtnOuvrirDossier: the journal's folder opens in the file manager
    CloseClicked,      // BtnFermer
};

// The groups of its controls whose content the viewer owns.
enum class JournalPart {
    Day,   // ChDateJournal
    Lines, // TexteJournal
};

using JournalDescription = WindowDescription<JournalEvent, JournalPart>;

// The dialog as it opens; a front end that lays it out itself may let it grow.
const JournalDescription& journalDescription();

// The journal viewer: the lines of the day chosen (today at first), newest at the bottom, or why
// there are none.
class JournalViewer {
  public:
    JournalViewer(std::string folder, LocalDate today, FileLayer& files = systemFiles());

    const LocalDate& day() const { return day_; }
    const std::string& lines() const { return lines_; }
    // The folder of the journal's files, which "Ouvrir le dossier" opens.
    const std::string& folder() const { return folder_; }

    void chooseDay(const LocalDate& day);

  private:
    std::string folder_;
    LocalDate day_;
    FileLayer& files_;
    std::string lines_;
};

// Shows the dialog of a viewer until the operator closes it; each front end has its own.
class JournalScreen {
  public:
    virtual ~JournalScreen() = default;
    virtual void show(JournalViewer& viewer) = 0;
};

// "Journal…": today's lines of the program's journal, on screen.
void showJournal(Program& program, JournalScreen& screen);

} // namespace quorel
