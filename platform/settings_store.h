#pragma once

#include <string>

namespace quorel {

// The per-user application settings store, addressed by application, section and key.
class SettingsStore {
  public:
    virtual ~SettingsStore() = default;
    virtual std::string read(const std::string& application, const std::string& section,
                             const std::string& key, const std::string& fallback) = 0;
    // Returns false when the value could not be stored.
    virtual bool write(const std::string& application, const std::string& section,
                       const std::string& key, const std::string& value) = 0;
};

} // namespace quorel
