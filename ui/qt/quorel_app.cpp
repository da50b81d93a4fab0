#include "ui/qt/quorel_app.h"

#include "platform/data_folder.h"
#include "platform/file_io.h"
#include "platform/program_folder.h"
#include "platform/qt/interval_timer.h"
#include "platform/user_folders.h"

#ifndef _WIN32
#include "ui/qt/unix_signals.h"
#endif

#include <QApplication>
#include <iostream>

namespace quorel {

QuorelApp::QuorelApp(std::string station)
    : timer_(tickTimer_, systemClock_, [this] { program_->tick.TimerSat_Timer(); }),
      retryTimer_(new IntervalTimer(
          kPortRetryMilliseconds, [this] { program_->portChoice.TimerPort_Timer(); }, &window_)),
      station_(std::move(station)) {
    retryTimer_->setObjectName("TimerPort");
    // A console shows what its station sends within a few hundredths of a second.
    consoleTimer_ = new IntervalTimer(
        20, [this] { program_->console.poll(systemClock_.monotonicSeconds()); }, &window_);
    dialogs_.setParent(&window_);
    program_ = std::make_unique<Program>(
        PlatformServices{clock_, link_, pump_, dialogs_, store_, startup_, timer_, *retryTimer_,
                         window_, std::cerr, systemFiles(), ports_, clockSync_},
        dataFolder(programFolder()), programPath());
    window_.attach(*program_);
    window_.onEnded = [this] {
        // The program ends at once: no further event runs, not even inside a pending yield.
        pump_.stop();
        QApplication::exit(program_->exitStatus());
    };
#ifndef _WIN32
    // Log-out, Ctrl-C and kill run the same shut-down as the close box, without any box or
    // question. The program's end leaves every event loop, a box or question that is open
    // included.
    signals_ = new UnixSignals(&window_);
    QObject::connect(signals_, &UnixSignals::terminationRequested, &window_,
                     [this] { window_.closeFor(ShutdownCause::Signal); });
#endif
}

QuorelApp::~QuorelApp() {
    window_.detach();
}

int QuorelApp::run() {
#ifndef _WIN32
    if (program_->connectToStation(connection_, station_)) {
        consoleTimer_->setEnabled(true);
    }
#endif
    if (!program_->startAlone()) {
        return 0;
    }
#ifndef _WIN32
    // Temporaries of a settings-store save that was killed half-way.
    removeStaleTemporaries(userConfigFolder());
#endif
    program_->Form_Load(window_);
    if (program_->ended()) {
        // asked to end (a signal) while a start-up message was shown
        return program_->exitStatus();
    }
    window_.show();
    return QApplication::exec();
}

} // namespace quorel
