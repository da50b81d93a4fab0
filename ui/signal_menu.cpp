#include "ui/signal_menu.h"

#include "schedule/signals.h"
#include "ui/file_messages.h"
#include "ui/program.h"
#include "ui/signals_form.h"

namespace quorel {

namespace {

constexpr const char* kWindow = "la fenêtre";

// A command of the menu, to the window's own station or to the station of its console: why it
// was not done, or an empty text.
std::string asked(Program& program, Message request, const std::function<std::string()>& own) {
    if (!program.console.active()) {
        return own();
    }
    request["by"] = kWindow;
    const Message answer = program.console.request(std::move(request));
    return answer.value("ok", false) ? std::string()
                                     : answer.value("error", std::string(kStationUnreachable));
}

void tell(Program& program, const std::string& failure) {
    if (!failure.empty()) {
        program.dialogs().message(failure, MessageIcon::Critical);
    }
}

} // namespace

void signalClicked(Program& program, int index) {
    if (index < 1 || static_cast<size_t>(index) > program.signalNames.size()) {
        return;
    }
    const std::string name = program.signalNames[index - 1];
    if (program.dialogs().ask("Déclencher « " + name + " » ?") != Answer::Yes) {
        return;
    }
    tell(program, asked(program, Message{{"command", "startSignal"}, {"name", name}},
                        [&] { return program.station().startSignal(name, kWindow); }));
}

void stopSignalClicked(Program& program) {
    tell(program, asked(program, Message{{"command", "stopSignal"}}, [&] {
             program.station().stopSignal(kWindow);
             return std::string();
         }));
}

void suspendClicked(Program& program) {
    const bool suspend = !bellsSuspended(program);
    const char* question = suspend ? "Suspendre les sonneries des horaires ? Les signaux et les "
                                     "interrupteurs S1 à S4 fonctionnent encore."
                                   : "Reprendre les sonneries des horaires ?";
    if (program.dialogs().ask(question) != Answer::Yes) {
        return;
    }
    tell(program, asked(program, Message{{"command", suspend ? "suspend" : "resume"}},
                        [&] { return program.station().setSuspended(suspend, kWindow); }));
}

std::vector<std::string> readSignalNames(Program& program) {
    std::vector<std::string> names;
    for (const Signal& signal : loadSignals(program.paths.SignalsPath, program.files()).runnable) {
        names.push_back(signal.name);
    }
    return names;
}

std::string runningSignal(const Program& program) {
    if (program.console.active()) {
        return program.console.signal();
    }
    return program.scheduler.signal ? program.scheduler.signal->signal.name : std::string();
}

bool bellsSuspended(const Program& program) {
    return program.console.active() ? program.console.suspended() : program.scheduler.suspended;
}

void editSignals(Program& program, FormScreen& screen) {
    const SignalsRead read = loadSignals(program.paths.SignalsPath, program.files());
    if (!read.error.empty()) {
        program.dialogs().message(cannotReadMessage(program.paths.SignalsPath, read.error),
                                  MessageIcon::Critical);
        return;
    }
    const FileReadResult file = program.files().read(program.paths.SignalsPath, kSignalsMaxBytes);
    SignalsForm form(readSignalRecords(file.ok() ? file.bytes : std::string()),
                     program.paths.SignalsPath, program.dialogs(), program.files(),
                     program.panel.moduleRelays);
    screen.show(form);
    if (form.saved()) {
        program.signalNames = readSignalNames(program);
    }
}

} // namespace quorel
