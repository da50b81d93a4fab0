#pragma once

#include "platform/startup_entry.h"

#include <string>

struct HKEY__;

namespace quorel {

// The start-at-logon entry of Windows: the value "Gestion Quorel" of the current user's Run key.
class WindowsStartupEntry final : public StartupEntry {
  public:
    WindowsStartupEntry() = default;
    ~WindowsStartupEntry() override;
    WindowsStartupEntry(const WindowsStartupEntry&) = delete;
    WindowsStartupEntry& operator=(const WindowsStartupEntry&) = delete;

    [[nodiscard]] std::string openForCreate() override;
    [[nodiscard]] std::string setCommand(const std::string& programPath) override;
    [[nodiscard]] std::string openExisting() override;
    [[nodiscard]] std::string deleteCommand() override;
    void close() override;

  private:
    HKEY__* key_ = nullptr;
};

} // namespace quorel
