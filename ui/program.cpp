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

// Messages kept to be told later, once the shut-down has done what must not wait.
class KeptMessages final : public Dialogs {
  public:
    void message(const std::string& text, MessageIcon icon) override {
        kept_.push_back({text, icon});
    }
    Answer ask(const std::string&) override { return Answer::Cancel; }
    bool empty() const { return kept_.empty(); }
    void tellTo(Dialogs& dialogs) const {
        for (const auto& [text, icon] : kept_) {
            dialogs.message(text, icon);
        }
    }

  private:
    std::vector<std::pair<std::string, MessageIcon>> kept_;
};

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
           journal_, services.files),
      clockWatch(services.clockSync, captions, services.view, journal_),
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
    tick.onHalfMinute = [this] { clockWatch.check(); };
    portChoice.onSchedulerStarted = [this] { tick.restart(); };
}

int16_t Program::todayIndex() {
    return static_cast<int16_t>(CurrentWeekday(services_.clock) - 1);
}

void Program::settingsFile(FileAction action, Dialogs& dialogs) {
    const PortOptionAccess ports{[this] { return panel.PortCom; },
                                 [this](int16_t index) { portChoice.select(index); }};
    SettingsFile(action, paths.SettingsPath, ports, dialogs, services_.files);
}

bool Program::startAlone() {
    if (folderLock_.take(ProgramPaths::inFolder(dataFolder_).AppFolder)) {
        return true;
    }
    refused_ = true;
    services_.dialogs.message("Quorel est déjà lancé.", MessageIcon::None);
    return false;
}

void Program::Form_Load(WindowGeometry& window) {
    // A box would hold up everything after it: its messages wait until the scheduler runs on
    // today's timetable.
    heldDialogs_.hold();
    paths = ProgramPaths::inFolder(dataFolder_);
    // Quorel last drove the relays at the last line of today's journal, or before midnight.
    const LocalDate startDate = todayDate();
    const std::optional<int> lastSeen = lastJournalSecond(paths.JournalFolder, startDate);
    journal_.note(startSentence(QUOREL_VERSION));
    journal_.removeOldFiles(services_.clock.localDate());
    removeStaleTemporaries(paths.AppFolder);
    settingsFile(FileAction::Load, heldDialogs_);

    days.fillDays();
    days.selectDay(todayIndex());

    fields.ComboSItems = {"1", "2"};
    fields.ComboS = fields.ComboSItems.front();
    services_.view.redraw(ViewPart::EditFields);

    const TwipsSize outer = window.outerSize();
    InitialWidth = static_cast<int32_t>(std::nearbyint(outer.width));
    InitialHeight = static_cast<int32_t>(std::nearbyint(outer.height));
    window.moveTo(CenterWindow(window.screenSize(), outer));

    loadDay(scheduler, services_.files, paths, todayDate(), journal_);
    tick.showNextBell();
    if (todayDate() == startDate) {
        tick.started(lastSeen);
    }
    clockWatch.check();
    autoRun.restoreCheckMark();
    // The port restored above has written over the notice of a journal that cannot be written.
    if (!journal_.failure().empty()) {
        showJournalFailure(journal_.failure());
    }
    heldDialogs_.release();
}

CloseOutcome Program::requestClose(ShutdownCause cause) {
    if (ended_ || unloading_) {
        return CloseOutcome::End;
    }
    if (askingBeforeClose_) {
        // The operator is being asked about unsaved edits: only a signal goes on, at once.
        if (cause != ShutdownCause::Signal) {
            return CloseOutcome::StayOpen;
        }
        Form_Unload(cause);
        return CloseOutcome::End;
    }
    askingBeforeClose_ = true;
    const bool mayClose = Form_QueryUnload(cause);
    askingBeforeClose_ = false;
    if (ended_) {
        return CloseOutcome::End; // a signal shut down while the question was open
    }
    if (!mayClose) {
        return CloseOutcome::StayOpen;
    }
    Form_Unload(cause);
    return CloseOutcome::End;
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
    if (refused_) {
        ended_ = true; // another copy runs on these files
        return;
    }
    unloading_ = true;
    // The relays before anything that may be slow (a settings file on a USB stick or a network
    // share at log-out): a relay left on by a program that is gone is a bell that rings until
    // someone pulls a plug.
    services_.timer.setEnabled(false);
    services_.retryTimer.setEnabled(false);
    relays.switchOffAll();
    if (services_.link.isOpen()) {
        services_.link.close();
    }
    showPlainStatus(panel, kPortClosedStatus);
    services_.view.redraw(ViewPart::Status);
    heldDialogs_.discard();
    days.endEditing();

    KeptMessages failures;
    settingsFile(FileAction::Save, failures);
    if (days.modified()) {
        journal_.note(unsavedEditsDroppedSentence(days.editedDayName()));
    }
    journal_.note(stopSentence(shutdownCauseText(cause)));
    journal_.close();
    shutDownFailed_ = !failures.empty();
    if (cause == ShutdownCause::Signal) {
        ErrorOutput errors(services_.errors);
        failures.tellTo(errors);
    } else {
        failures.tellTo(heldDialogs_);
    }
    ended_ = true;
}

void Program::showJournalFailure(const std::string& reason) {
    showPlainStatus(panel, journalFailureNotice(reason));
    services_.view.redraw(ViewPart::Status);
}

NextBellSign Program::shownNextBell() const {
    return panel.PortCom == 0 ? stoppedBellSign() : captions.LblProchaine;
}

void Program::reloadClosedPeriods() {
    reloadClosedPeriodsIfChanged(scheduler, services_.files, paths.ClosedPeriodsPath, todayDate(),
                                 journal_);
    tick.showNextBell();
}

void Program::reloadSpecialTimetables() {
    reloadDatedPeriodsIfChanged(scheduler, services_.files, paths, journal_);
    reloadTimetableOf(scheduler, services_.files, paths, todayDate(), journal_);
    scheduler.nextDay.reset(); // read ahead by the periods before
    tick.showNextBell();
    days.refreshDays(todayIndex());
}

std::optional<TwipsSize> Program::Form_Resize(bool normalState, TwipsSize current) const {
    if (InitialWidth == 0 || InitialHeight == 0) {
        return std::nullopt; // the start-up has not recorded the size yet
    }
    return sizeAfterResize(normalState, current, InitialWidth, InitialHeight);
}

} // namespace quorel
