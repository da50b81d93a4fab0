#pragma once

#include "platform/startup_entry.h"

#include <string>

namespace quorel {

// The start-at-logon entry of Linux desktops: the file "Gestion Quorel.desktop" in the autostart
// folder of the user's configuration folder.
class XdgStartupEntry final : public StartupEntry {
  public:
    explicit XdgStartupEntry(std::string configFolder);

    [[nodiscard]] std::string openForCreate() override;
    [[nodiscard]] std::string setCommand(const std::string& programPath) override;
    [[nodiscard]] std::string openExisting() override;
    [[nodiscard]] std::string deleteCommand() override;
    void close() override {}

    std::string folder() const;
    std::string filePath() const;

  private:
    // Why the autostart folder cannot be used, or an empty text when it is there.
    std::string folderReason() const;

    std::string configFolder_;
};

// The desktop entry that starts programPath, with Exec quoted and escaped as desktop entries
// require.
std::string desktopEntryFor(const std::string& programPath);
// The Exec value of a desktop entry for programPath.
std::string desktopExecValue(const std::string& programPath);

} // namespace quorel
