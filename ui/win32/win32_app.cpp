#include "ui/win32/win32_app.h"

#include "platform/data_folder.h"
#include "platform/file_io.h"
#include "platform/program_folder.h"
#include "platform/windows/message_loop.h"

#include <iostream>
#include <windows.h>

namespace quorel {

Win32App::Win32App(std::string station)
    : timer_(tickTimer_, systemClock_, [this] { program_->tick.TimerSat_Timer(); }),
      retryTimer_(kPortRetryMilliseconds, [this] { program_->portChoice.TimerPort_Timer(); }),
      station_(std::move(station)),
      consoleTimer_(20, [this] { program_->console.poll(systemClock_.monotonicSeconds()); }) {
    dialogs_.setOwner(window_.handle());
    program_ = std::make_unique<Program>(
        PlatformServices{clock_, link_, pump_, dialogs_, store_, startup_, timer_, retryTimer_,
                         window_, std::cerr, systemFiles(), ports_, clockSync_},
        dataFolder(programFolder()), programPath());
    window_.attach(*program_);
    // A log-off gives the shut-down 3 seconds; Windows ends the process after that anyway.
    window_.onSessionEnding = [this] { deadline_.arm(); };
    window_.onEnded = [this] {
        // The program ends at once: no further event runs, not even inside a pending yield, and
        // a box still open (a question when the session ends) closes.
        pump_.stop();
        dialogs_.endOpenBox();
        ::PostQuitMessage(program_->exitStatus());
    };
}

Win32App::~Win32App() {
    window_.detach();
}

int Win32App::run() {
    if (program_->connectToStation(connection_, station_)) {
        consoleTimer_.setEnabled(true);
    }
    if (!program_->startAlone()) {
        return 0;
    }
    program_->Form_Load(window_);
    if (program_->ended()) {
        return program_->exitStatus(); // the session ended while a start-up message was shown
    }
    window_.show();
    return runMessageLoop(window_.handle());
}

} // namespace quorel
