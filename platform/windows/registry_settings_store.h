#pragma once

#include "platform/settings_store.h"

#include <string>

namespace quorel {

// The settings store of Windows: one registry key per application and section under the current
// user, HKEY_CURRENT_USER\<root>\<application>\<section>, and one string value per key.
class RegistrySettingsStore final : public SettingsStore {
  public:
    explicit RegistrySettingsStore(std::string root = "Software");

    // The fallback when the key or the value is missing or is not a string.
    std::string read(const std::string& application, const std::string& section,
                     const std::string& key, const std::string& fallback) override;
    // Creates the key when missing. Returns the system's reason on failure, or an empty text.
    [[nodiscard]] std::string write(const std::string& application, const std::string& section,
                                    const std::string& key, const std::string& value) override;

    // The key of an application's section, below HKEY_CURRENT_USER.
    std::string keyPath(const std::string& application, const std::string& section) const;

  private:
    std::string root_;
};

} // namespace quorel
