#pragma once

#include <string>

namespace quorel {

// The current user's start-at-logon entry of the operating system, step by step, so that the
// caller keeps the order of the steps and reports each failure where it happens.
class StartupEntry {
  public:
    virtual ~StartupEntry() = default;
    // Opens the place that holds start-up entries, creating it when missing.
    virtual bool openForCreate() = 0;
    // Stores the entry that starts the program at programPath, replacing any earlier one.
    virtual bool setCommand(const std::string& programPath) = 0;
    // Opens the place that holds start-up entries without creating it.
    virtual bool openExisting() = 0;
    // Removes the entry; false when it could not be removed or did not exist.
    virtual bool deleteCommand() = 0;
    virtual void close() = 0;
};

} // namespace quorel
