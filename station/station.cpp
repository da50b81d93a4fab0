#include "station/station.h"

#include "platform/file_io.h"
#include "relay/status_text.h"
#include "schedule/journal_sentences.h"
#include "schedule/today_reload.h"
#include "schedule/weekday.h"

namespace quorel {

Station::Station(StationServices services, std::string dataFolder)
    : services_(services), dataFolder_(std::move(dataFolder)),
      journal_(services.clock, ProgramPaths::inFolder(dataFolder_).JournalFolder),
      relays(services.link, services.clock, scheduler, panel, services.view, journal_),
      outputs(scheduler, panel, relays, services.pump, services.clock, services.timer,
              services.view),
      tick(scheduler, captions, services.clock, services.pump, services.view, paths, outputs,
           journal_, services.files),
      clockWatch(services.clockSync, captions, services.view, journal_),
      portChoice(panel, services.link, relays, services.timer, services.retryTimer, services.view,
                 journal_),
      manual(panel, relays, services.pump, services.view, outputs, journal_) {
    journal_.onFailure = [this](const std::string& reason) { showJournalFailure(reason); };
    tick.onNewDay = [this](const LocalDate& today) { journal_.removeOldFiles(today); };
    tick.onHalfMinute = [this] { clockWatch.check(); };
    portChoice.onSchedulerStarted = [this] { tick.restart(); };
}

int16_t Station::todayIndex() {
    return static_cast<int16_t>(CurrentWeekday(services_.clock) - 1);
}

void Station::settingsFile(FileAction action, Dialogs& dialogs) {
    const PortOptionAccess ports{[this] { return panel.PortCom; },
                                 [this](int16_t index) { portChoice.select(index); }};
    SettingsFile(action, paths.SettingsPath, ports, dialogs, services_.files);
}

bool Station::takeFolder() {
    return folderLock_.take(ProgramPaths::inFolder(dataFolder_).AppFolder);
}

void Station::open(const std::string& startLine, Dialogs& dialogs) {
    paths = ProgramPaths::inFolder(dataFolder_);
    // The station last drove the relays at the last line of today's journal, or before midnight.
    startDate_ = today();
    lastSeen_ = lastJournalSecond(paths.JournalFolder, startDate_);
    journal_.note(startLine);
    journal_.removeOldFiles(today());
    removeStaleTemporaries(paths.AppFolder);
    settingsFile(FileAction::Load, dialogs);
}

void Station::startBells() {
    loadDay(scheduler, services_.files, paths, today(), journal_);
    // A lockdown does not end because the computer restarted.
    if (services_.files.exists(paths.SuspensionPath)) {
        scheduler.suspended = true;
        journal_.note("Sonneries toujours suspendues depuis l'arrêt");
    }
    tick.showNextBell();
    if (today() == startDate_) {
        tick.started(lastSeen_);
    }
    clockWatch.check();
}

std::string Station::startSignal(const std::string& name, const std::string& askedBy) {
    const SignalsRead read = loadSignals(paths.SignalsPath, services_.files);
    if (!read.error.empty()) {
        return "Impossible de lire le fichier « " + paths.SignalsPath + " » : " + read.error;
    }
    for (const Signal& signal : read.runnable) {
        if (signal.name == name) {
            if (!services_.timer.isEnabled()) {
                return "Aucun port n'est utilisé : le signal « " + name + " » ne peut sonner";
            }
            tick.startSignal(signal, askedBy);
            return {};
        }
    }
    return "Signal inconnu : « " + name + " »";
}

std::string Station::setSuspended(bool suspended, const std::string& askedBy) {
    if (suspended == scheduler.suspended) {
        return {};
    }
    const std::string failure =
        suspended ? services_.files.replace(paths.SuspensionPath,
                                            "Sonneries suspendues par " + askedBy + "\r\n")
                  : services_.files.remove(paths.AppFolder, "Quorel.suspendu");
    if (!failure.empty()) {
        // Not kept, not done: a suspension the next start would forget is no suspension.
        return "Impossible d'écrire le fichier « " + paths.SuspensionPath + " » : " + failure;
    }
    tick.setSuspended(suspended, askedBy);
    return {};
}

void Station::showJournalFailureAgain() {
    if (!journal_.failure().empty()) {
        showJournalFailure(journal_.failure());
    }
}

void Station::switchOff() {
    services_.timer.setEnabled(false);
    services_.retryTimer.setEnabled(false);
    relays.switchOffAll();
    if (services_.link.isOpen()) {
        services_.link.close();
    }
    showPlainStatus(panel, kPortClosedStatus);
    services_.view.redraw(ViewPart::Status);
}

void Station::saveSettings(Dialogs& dialogs) {
    settingsFile(FileAction::Save, dialogs);
}

void Station::close(const std::string& cause) {
    journal_.note(stopSentence(cause));
    journal_.close();
}

void Station::showJournalFailure(const std::string& reason) {
    showPlainStatus(panel, journalFailureNotice(reason));
    services_.view.redraw(ViewPart::Status);
}

NextBellSign Station::shownNextBell() const {
    return panel.PortCom == 0 ? stoppedBellSign() : captions.LblProchaine;
}

void Station::reloadClosedPeriods() {
    reloadClosedPeriodsIfChanged(scheduler, services_.files, paths.ClosedPeriodsPath, today(),
                                 journal_);
    tick.showNextBell();
}

void Station::reloadSpecialTimetables() {
    reloadDatedPeriodsIfChanged(scheduler, services_.files, paths, journal_);
    reloadTimetableOf(scheduler, services_.files, paths, today(), journal_);
    scheduler.nextDay.reset(); // read ahead by the periods before
    tick.showNextBell();
}

} // namespace quorel
