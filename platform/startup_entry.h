#pragma once

#include <string>

namespace quorel {

// The current user's start-at-logon entry of the operating system, step by step, so that the
// caller keeps the order of the steps and reports each failure where it happens. Each step
// returns the system's reason when it fails, or an empty text.
class StartupEntry {
  public:
    virtual ~StartupEntry() = default;
    // Opens the place that holds start-up entries, creating it when missing.
    [[nodiscard]] virtual std::string openForCreate() = 0;
    // Stores the entry that starts the program at programPath, replacing any earlier one.
    [[nodiscard]] virtual std::string setCommand(const std::string& programPath) = 0;
    // Opens the place that holds start-up entries without creating it.
    [[nodiscard]] virtual std::string openExisting() = 0;
    // Removes the entry; fails when it could not be removed or did not exist.
    [[nodiscard]] virtual std::string deleteCommand() = 0;
    virtual void close() = 0;
};

} // namespace quorel
