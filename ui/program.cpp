#include "ui/program.h"

#include "platform/file_io.h"
#include "relay/status_text.h"
#include "schedule/journal_sentences.h"
#include "schedule/today_reload.h"
#include "schedule/weekday.h"
#include "settings/settings_file.h"

#include <cmath>

namespace quorel {

namespace {

// Messages that must not wait for anyone: written as lines to an output.
class ErrorOutput final : public Dialogs {
  public:
    explicit ErrorOutput(std::ostream& out) : out_(out) {}
    void message(const std::string& text, MessageIcon) override {
        out_ << "quorel: " << text << std::endl;
    }
    // No one is there to answer: nothing is done that needs the operator's consent.
    Answer ask(const std::string&) override { return Answer::Cancel; }

  private:
    std::ostream& out_;
};

const char* shutdownCauseText(ShutdownCause cause) {
    switch (cause) {
    case ShutdownCause::WindowClosed:
        return "fenêtre fermée";
    case ShutdownCause::Quit:
        return "« Quitter »";
    case ShutdownCause::Signal:
        break;
    }
    return "signal";
}

} // namespace

Program::Program(PlatformServices services, std::string dataFolder, std::string programPath)
    : heldDialogs_(services.dialogs),
      journal_(services.clock, ProgramPaths::inFolder(dataFolder).JournalFolder),
      relays(services.link, services.clock, scheduler, panel, services.view, journal_),
      outputs(scheduler, panel, relays, services.pump, services.clock, services.timer,
              services.view),
      tick(scheduler, captions, services.clock, services.pump, services.view, paths, outputs,
           journal_),
      portChoice(panel, services.link, relays, services.timer, services.retryTimer, services.view,
                 journal_),
      manual(panel, relays, services.pump, services.view, outputs, journal_),
      entries(list, fields, heldDialogs_, services.view),
      days(list, paths, heldDialogs_, services.view),
      autoRun(services.store, services.startup, heldDialogs_, services.view,
              std::move(programPath)),
      services_(services), dataFolder_(std::move(dataFolder)) {
    journal_.onFailure = [this](const std::string& reason) { showJournalFailure(reason); };
    tick.onNewDay = [this](const LocalDate& today) { journal_.removeOldFiles(today); };
}

int16_t Program::todayIndex() {
    return static_cast<int16_t>(CurrentWeekday(services_.clock) - 1);
}

void Program::settingsFile(const std::string& action, Dialogs& dialogs) {
    const PortOptionAccess ports{[this] { return panel.PortCom; },
                                 [this](int16_t index) { portChoice.select(index); }};
    SettingsFile(action, paths.SettingsPath, ports, dialogs);
}

void Program::Form_Load(WindowGeometry& window) {
    // A box would hold up everything after it: its messages wait until the scheduler runs on
    // today's timetable.
    heldDialogs_.hold();
    paths = ProgramPaths::inFolder(dataFolder_);
    journal_.note(startSentence(QUOREL_VERSION));
    journal_.removeOldFiles(services_.clock.localDate());
    removeStaleTemporaries(paths.AppFolder);
    settingsFile("Load", heldDialogs_);

    days.fillDays();
    days.selectDay(todayIndex());

    fields.ComboSItems = {"1", "2"};
    fields.ComboS = fields.ComboSItems.front();
    services_.view.redraw(ViewPart::EditFields);

    const TwipsSize outer = window.outerSize();
    InitialWidth = static_cast<int32_t>(std::nearbyint(outer.width));
    InitialHeight = static_cast<int32_t>(std::nearbyint(outer.height));
    window.moveTo(CenterWindow(window.screenSize(), outer));

    reloadTodayTableIfChanged(scheduler, paths.DayFilePrefix, todayIndex(), journal_);
    reloadClosedPeriods();
    autoRun.restoreCheckMark();
    // The port restored above has written over the notice of a journal that cannot be written.
    if (!journal_.failure().empty()) {
        showJournalFailure(journal_.failure());
    }
    heldDialogs_.release();
}

bool Program::Form_QueryUnload(ShutdownCause cause) {
    if (ended_ || unloading_ || cause == ShutdownCause::Signal) {
        return true;
    }
    return days.askToSaveEdits();
}

void Program::Form_Unload(ShutdownCause cause) {
    if (ended_ || unloading_) {
        return;
    }
    unloading_ = true;
    if (days.modified()) {
        journal_.note(unsavedEditsDroppedSentence(days.editedDayName()));
    }
    journal_.note(stopSentence(shutdownCauseText(cause)));
    heldDialogs_.discard();
    if (cause == ShutdownCause::Signal) {
        ErrorOutput errors(services_.errors);
        settingsFile("Save", errors);
    } else {
        settingsFile("Save", heldDialogs_);
    }
    services_.timer.setEnabled(false);
    services_.retryTimer.setEnabled(false);
    // A relay left on by a program that is gone is a bell that rings until someone pulls a plug.
    relays.switchOffAll();
    if (services_.link.isOpen()) {
        services_.link.close();
    }
    panel.InfoERR = kPortClosedStatus;
    services_.view.redraw(ViewPart::Status);
    ended_ = true;
}

void Program::showJournalFailure(const std::string& reason) {
    panel.InfoERR = journalFailureNotice(reason);
    services_.view.redraw(ViewPart::Status);
}

NextBellSign Program::shownNextBell() const {
    return panel.PortCom == 0 ? stoppedBellSign() : captions.LblProchaine;
}

void Program::reloadClosedPeriods() {
    reloadClosedPeriodsIfChanged(scheduler, paths.ClosedPeriodsPath, services_.clock.localDate());
    tick.showNextBell();
}

std::optional<TwipsSize> Program::Form_Resize(bool normalState, TwipsSize current) const {
    if (InitialWidth == 0 || InitialHeight == 0) {
        return std::nullopt; // the start-up has not recorded the size yet
    }
    return sizeAfterResize(normalState, current, InitialWidth, InitialHeight);
}

} // namespace quorel
