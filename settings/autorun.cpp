#include "settings/autorun.h"

#include <utility>

namespace quorel {

AutoRun::AutoRun(SettingsStore& store, StartupEntry& entry, Dialogs& dialogs, View& view,
                 std::string programPath)
    : store_(store), entry_(entry), dialogs_(dialogs), view_(view),
      programPath_(std::move(programPath)) {}

void AutoRun::restoreCheckMark() {
    // Only the exact word the menu command writes turns the option on; a hand-edited value does
    // not start the program at logon by surprise.
    const bool stored =
        store_.read(kStoreApplication, kAutoRunSection, kAutoRunKey, "False") == "True";
    if (stored != checked_) {
        checked_ = stored;
        view_.redraw(ViewPart::AutoRun);
    }
}

void AutoRun::mnuautorun_Click() {
    checked_ = !checked_;
    view_.redraw(ViewPart::AutoRun);
    if (!store_.write(kStoreApplication, kAutoRunSection, kAutoRunKey, checked_ ? "True" : "False")
             .empty()) {
        // Otherwise the next start would silently show the old state.
        dialogs_.message("Impossible d'enregistrer le réglage « Démarrer avec Windows » : il "
                         "reprendra son ancien état au prochain démarrage.",
                         MessageIcon::None);
    }
    if (checked_) {
        CreateRunKey();
    } else {
        DeleteRunKey();
    }
}

void AutoRun::CreateRunKey() {
    if (!entry_.openForCreate().empty()) {
        dialogs_.message(kCreateKeyError, MessageIcon::None);
        return;
    }
    if (!entry_.setCommand(programPath_).empty()) {
        dialogs_.message(kCreateKeyError, MessageIcon::None);
    }
    entry_.close();
}

void AutoRun::DeleteRunKey() {
    // No place for start-up entries means there is nothing to remove.
    if (!entry_.openExisting().empty()) {
        return;
    }
    if (!entry_.deleteCommand().empty()) {
        dialogs_.message(kDeleteKeyError, MessageIcon::None);
    }
    entry_.close();
}

} // namespace quorel
