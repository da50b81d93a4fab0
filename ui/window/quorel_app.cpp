#include "ui/window/quorel_app.h"

#include "platform/program_folder.h"
#include "platform/qt_phased_timer.h"
#include "platform/qt_unix_signals.h"

#include <QApplication>

namespace quorel {

QuorelApp::QuorelApp()
    : store_(userSettingsStore()), link_(store_), startup_(userConfigFolder()),
      timer_(new PhasedTimer([this] { program_->tick.TimerSat_Timer(); }, &window_)),
      signals_(new UnixSignalWatcher(&window_)) {
    timer_->setObjectName("TimerSat");
    dialogs_.setParent(&window_);
    program_ = std::make_unique<Program>(
        PlatformServices{clock_, link_, pump_, dialogs_, store_, startup_, *timer_, window_},
        programFolder(), programFolder() + programBaseName());
    window_.attach(*program_);
    window_.onEnded = [this] {
        // The program ends at once: no further event runs, not even inside a pending yield.
        pump_.stop();
        QApplication::exit(0);
    };
    // Log-out, Ctrl-C and kill close the window as the close box does, so the port choice is kept.
    QObject::connect(signals_, &UnixSignalWatcher::terminationRequested, &window_,
                     [this] { window_.close(); });
}

QuorelApp::~QuorelApp() {
    window_.detach();
}

int QuorelApp::run() {
    program_->Form_Load(window_);
    if (program_->ended()) {
        return 0; // asked to end (a signal) while a start-up message was shown
    }
    window_.show();
    return QApplication::exec();
}

} // namespace quorel
