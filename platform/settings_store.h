#pragma once

#include <string>

namespace quorel {

// The per-user application settings store, addressed by application, section and key.
class SettingsStore {
  public:
    virtual ~SettingsStore() = default;
    virtual std::string read(const std::string& application, const std::string& section,
                             const std::string& key, const std::string& fallback) = 0;
    // Returns the reason when the value could not be stored, or an empty text.
    [[nodiscard]] virtual std::string write(const std::string& application,
                                            const std::string& section, const std::string& key,
                                            const std::string& value) = 0;
};

// The application name under which the program keeps its settings.
inline constexpr const char* kStoreApplication = "VornAlmare";

} // namespace quorel
