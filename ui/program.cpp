#include "ui/program.h"

#include "relay/status_text.h"
#include "schedule/journal_sentences.h"
#include "ui/signal_menu.h"
#include "ui/timetable_copy.h"

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
      station_(StationServices{services.clock, services.link, services.pump, services.timer,
                               services.retryTimer, services.view, services.files,
                               services.clockSync},
               std::move(dataFolder)),
      console(station_.panel, station_.captions, services.view, heldDialogs_, services.files),
      entries(list, fields, heldDialogs_, services.view),
      days(list, paths, heldDialogs_, services.view, console.files()),
      autoRun(services.store, services.startup, heldDialogs_, services.view,
              std::move(programPath)),
      services_(services) {}

bool Program::connectToStation(ChannelConnection& connection, const std::string& address) {
    return console.connect(connection, address);
}

std::string Program::statusToolTip() const {
    const std::string station = quorel::statusToolTip(panel);
    if (!console.active()) {
        return station;
    }
    return console.toolTip() + (station.empty() ? "" : "\n" + station);
}

bool Program::startAlone() {
    if (console.active()) {
        return true; // the station holds its own folder; many consoles may show it
    }
    if (station_.takeFolder()) {
        return true;
    }
    refused_ = true;
    services_.dialogs.message("Quorel est déjà lancé.", MessageIcon::None);
    return false;
}

void Program::Form_Load(WindowGeometry& window) {
    if (console.active()) {
        // The station's files, by the names they have in its folder; nothing here rings.
        paths = ProgramPaths::inFolder(console.dataFolder());
        // A user who rang without the service has timetables of their own: before the editor
        // reads the station's, they may be copied there.
        offerTimetableCopy(console, ProgramPaths::inFolder(station_.dataFolder()).AppFolder,
                           services_.files, services_.store, heldDialogs_);
        showEditorAndPlace(window);
        services_.view.redraw(ViewPart::AutoRun);
        return;
    }
    // A box would hold up everything after it: its messages wait until the scheduler runs on
    // today's timetable.
    heldDialogs_.hold();
    station_.open(startSentence(QUOREL_VERSION), heldDialogs_);
    showEditorAndPlace(window);
    station_.startBells();
    autoRun.restoreCheckMark();
    // The port restored above has written over the notice of a journal that cannot be written.
    station_.showJournalFailureAgain();
    heldDialogs_.release();
}

void Program::showEditorAndPlace(WindowGeometry& window) {
    signalNames = readSignalNames(*this);
    services_.view.redraw(ViewPart::Signals);
    days.fillDays();
    days.selectDay(station_.todayIndex());

    fields.ComboSItems = {"1", "2"};
    fields.ComboS = fields.ComboSItems.front();
    services_.view.redraw(ViewPart::EditFields);

    const TwipsSize outer = window.outerSize();
    InitialWidth = static_cast<int32_t>(std::nearbyint(outer.width));
    InitialHeight = static_cast<int32_t>(std::nearbyint(outer.height));
    window.moveTo(CenterWindow(window.screenSize(), outer));
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
    if (refused_ || console.active()) {
        ended_ = true; // another copy runs on these files, or the station rings on without us
        return;
    }
    unloading_ = true;
    // The relays before anything that may be slow (a settings file on a USB stick or a network
    // share at log-out): a relay left on by a program that is gone is a bell that rings until
    // someone pulls a plug.
    station_.switchOff();
    heldDialogs_.discard();
    days.endEditing();

    KeptMessages failures;
    station_.saveSettings(failures);
    if (days.modified()) {
        station_.note(unsavedEditsDroppedSentence(days.editedDayName()));
    }
    station_.close(shutdownCauseText(cause));
    shutDownFailed_ = !failures.empty();
    if (cause == ShutdownCause::Signal) {
        ErrorOutput errors(services_.errors);
        failures.tellTo(errors);
    } else {
        failures.tellTo(heldDialogs_);
    }
    ended_ = true;
}

NextBellSign Program::shownNextBell() const {
    return station_.shownNextBell();
}

void Program::reloadClosedPeriods() {
    station_.reloadClosedPeriods();
}

void Program::reloadSpecialTimetables() {
    station_.reloadSpecialTimetables();
    days.refreshDays(station_.todayIndex());
}

std::optional<TwipsSize> Program::Form_Resize(bool normalState, TwipsSize current) const {
    if (InitialWidth == 0 || InitialHeight == 0) {
        return std::nullopt; // the start-up has not recorded the size yet
    }
    return sizeAfterResize(normalState, current, InitialWidth, InitialHeight);
}

} // namespace quorel
