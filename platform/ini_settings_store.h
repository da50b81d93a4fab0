#pragma once

#include "platform/settings_store.h"

#include <string>

namespace quorel {

// The settings store as INI files, one per application: <folder>/<application>.ini, with one INI
// section per store section. Lines it does not understand are kept as they are.
class IniSettingsStore final : public SettingsStore {
  public:
    explicit IniSettingsStore(std::string folder);

    std::string read(const std::string& application, const std::string& section,
                     const std::string& key, const std::string& fallback) override;
    bool write(const std::string& application, const std::string& section, const std::string& key,
               const std::string& value) override;

    std::string filePath(const std::string& application) const;

  private:
    std::string folder_;
};

// The store of the current user: $XDG_CONFIG_HOME (or ~/.config).
IniSettingsStore userSettingsStore();

// The application name under which the program keeps its settings.
inline constexpr const char* kStoreApplication = "VornAlmare";

} // namespace quorel
