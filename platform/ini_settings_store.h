#pragma once

#include "platform/settings_store.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quorel {

// The largest INI file read: a few settings of a line each. A larger file reads as one that
// cannot be read, which is then never rewritten.
inline constexpr int64_t kIniFileMaxBytes = 64 * 1024;

// The settings store as INI files, one per application: <folder>/<application>.ini, with one INI
// section per store section. Lines it does not understand are kept as they are.
class IniSettingsStore final : public SettingsStore {
  public:
    explicit IniSettingsStore(std::string folder);

    std::string read(const std::string& application, const std::string& section,
                     const std::string& key, const std::string& fallback) override;
    // Fails with the system's reason, and changes nothing, when the file exists but cannot be read.
    [[nodiscard]] std::string write(const std::string& application, const std::string& section,
                                    const std::string& key, const std::string& value) override;
    // Takes the key's line out of the section; a key that is not there is no failure. Returns the
    // system's reason when the file cannot be read or replaced, or an empty text.
    [[nodiscard]] std::string remove(const std::string& application, const std::string& section,
                                     const std::string& key);
    // Whether the application's file can be read and holds no line but blank lines and section
    // headers, so that it keeps nothing of value.
    [[nodiscard]] bool holdsOnlySectionHeaders(const std::string& application) const;

    std::string filePath(const std::string& application) const;

  private:
    // The file's lines, for a change that rewrites them; the reason when it exists but cannot be
    // read.
    std::string readForChange(const std::string& application,
                              std::vector<std::string>& lines) const;

    std::string folder_;
};

// The store of the current user: $XDG_CONFIG_HOME (or ~/.config).
IniSettingsStore userSettingsStore();

} // namespace quorel
