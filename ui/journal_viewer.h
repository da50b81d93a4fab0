#pragma once

#include "core/form.h"
#include "platform/clock.h"
#include "platform/file_layer.h"

#include <functional>
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

const JournalDescription& journalDescription();
Action actionOf(JournalEvent event);

// The journal viewer: the lines of the day chosen (today at first), newest at the bottom, or why
// there are none.
class JournalViewer final : public Form {
  public:
    JournalViewer(std::string folder, LocalDate today, FileLayer& files = systemFiles());

    const LocalDate& day() const { return day_; }
    const std::string& lines() const { return lines_; }
    // The folder of the journal's files, which "Ouvrir le dossier" opens.
    const std::string& folder() const { return folder_; }

    void chooseDay(const LocalDate& day);

    const FormDescription& description() const override;
    ControlValue value(size_t control, bool menuItem) const override;
    void raise(const ControlInput& input) override;
    bool ended() const override { return ended_; }

    // Opens the journal's folder for "Ouvrir le dossier"; set by whoever shows the viewer.
    std::function<void(const std::string& folder)> openFolder;

  private:
    std::string folder_;
    LocalDate day_;
    FileLayer& files_;
    std::string lines_;
    bool ended_ = false;
};

// "Journal…": today's lines of the program's journal, on screen.
void showJournal(Program& program, FormScreen& screen);

} // namespace quorel
