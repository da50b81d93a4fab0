#include "ui/qt/qt_start.h"

#include "core/program_paths.h"
#include "platform/data_folder.h"
#include "platform/posix/system_clock.h"
#include "platform/program_folder.h"
#include "schedule/daily_journal.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace quorel {

namespace {

// What the toolkit said while it started, told once it has started.
struct HeldMessage {
    QtMsgType type;
    const char* file; // the context's texts are the toolkit's own literals
    int line;
    const char* function;
    const char* category;
    QString text;
};
std::vector<HeldMessage> heldMessages;

[[noreturn]] void endForWantOfADisplay() {
    SystemClock clock;
    DailyJournal journal(clock, ProgramPaths::inFolder(dataFolder(programFolder())).JournalFolder);
    journal.note("Démarrage impossible : pas d'affichage");
    std::fputs("quorel : pas d'affichage : Quorel doit être lancé dans une session graphique "
               "(aucun serveur X ni Wayland n'a répondu).\n",
               stderr);
    std::_Exit(1);
}

void whileStarting(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    // The toolkit ends the program on this message, when no display plugin could start.
    if (type == QtFatalMsg) {
        endForWantOfADisplay();
    }
    heldMessages.push_back(
        {type, context.file, context.line, context.function, context.category, text});
}

} // namespace

std::unique_ptr<QApplication> startQtApplication(int& argc, char** argv) {
    const QtMessageHandler previous = qInstallMessageHandler(whileStarting);
    auto application = std::make_unique<QApplication>(argc, argv);
    qInstallMessageHandler(previous);
    for (const HeldMessage& message : heldMessages) {
        const QMessageLogContext context(message.file, message.line, message.function,
                                         message.category);
        qt_message_output(message.type, context, message.text);
    }
    heldMessages.clear();
    return application;
}

} // namespace quorel
