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

    bool openForCreate() override;
    bool setCommand(const std::string& programPath) override;
    bool openExisting() override;
    bool deleteCommand() override;
    void close() override;

  private:
    HKEY__* key_ = nullptr;
};

} // namespace quorel
