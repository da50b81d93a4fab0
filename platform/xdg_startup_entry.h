#pragma once

#include "platform/startup_entry.h"

#include <string>

namespace quorel {

// The start-at-logon entry of Linux desktops: the file "Gestion Quorel.desktop" in the autostart
// folder of the user's configuration folder.
class XdgStartupEntry final : public StartupEntry {
  public:
    explicit XdgStartupEntry(std::string configFolder);

    bool openForCreate() override;
    bool setCommand(const std::string& programPath) override;
    bool openExisting() override;
    bool deleteCommand() override;
    void close() override {}

    std::string folder() const;
    std::string filePath() const;

  private:
    std::string configFolder_;
};

// The desktop entry that starts programPath, with Exec quoted and escaped as desktop entries
// require.
std::string desktopEntryFor(const std::string& programPath);
// The Exec value of a desktop entry for programPath.
std::string desktopExecValue(const std::string& programPath);
// The Windows Run command for programPath: quoted when it holds a blank, so that Windows cannot
// start another program (such as C:\Program.exe) in its place.
std::string windowsRunCommand(const std::string& programPath);

} // namespace quorel
