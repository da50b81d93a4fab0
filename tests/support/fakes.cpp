#include "tests/support/fakes.h"

#include <algorithm>

namespace quorel::test {

bool RecordingView::saw(ViewPart part) const {
    return std::find(parts.begin(), parts.end(), part) != parts.end();
}

std::string MemorySettingsStore::read(const std::string& application, const std::string& section,
                                      const std::string& key, const std::string& fallback) {
    const auto found = values.find(application + "/" + section + "/" + key);
    return found == values.end() ? fallback : found->second;
}

bool MemorySettingsStore::write(const std::string& application, const std::string& section,
                                const std::string& key, const std::string& value) {
    if (failWrites) {
        return false;
    }
    values[application + "/" + section + "/" + key] = value;
    return true;
}

bool FakeStartupEntry::setCommand(const std::string& programPath) {
    steps.push_back("setCommand");
    if (setCommandResult) {
        present = true;
        command = programPath;
    }
    return setCommandResult;
}

bool FakeStartupEntry::deleteCommand() {
    steps.push_back("deleteCommand");
    const bool existed = present;
    present = false;
    return existed;
}

} // namespace quorel::test
