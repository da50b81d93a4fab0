#pragma once

#include "core/view.h"
#include "platform/dialogs.h"
#include "platform/settings_store.h"
#include "platform/startup_entry.h"

#include <string>

namespace quorel {

inline constexpr const char* kAutoRunSection = "VornQuorel";
inline constexpr const char* kAutoRunKey = "AutoRun";
inline constexpr const char* kCreateKeyError = "Error while creating the Key!!";
inline constexpr const char* kDeleteKeyError = "Error while deleting the Key!!";

// "Démarrer avec Windows": the AutoRun flag in the per-user settings store and the start-up entry
// of the operating system, kept in step by the menu command.
class AutoRun {
  public:
    // programPath: the running program's folder and executable name (with ".exe" on Windows).
    AutoRun(SettingsStore& store, StartupEntry& entry, Dialogs& dialogs, View& view,
            std::string programPath);

    // The menu's check mark.
    bool checked() const { return checked_; }

    // Start-up: sets the check mark from the stored flag ("True" on, anything else off). The
    // start-up entry is not touched.
    void restoreCheckMark();

    // Inverts the check mark, stores it as "True" or "False", then creates or deletes the entry.
    void mnuautorun_Click();
    void CreateRunKey();
    void DeleteRunKey();

  private:
    SettingsStore& store_;
    StartupEntry& entry_;
    Dialogs& dialogs_;
    View& view_;
    std::string programPath_;
    bool checked_ = false;
};

} // namespace quorel
