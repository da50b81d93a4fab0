#include "platform/user_folders.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace quorel {

namespace {

// $variable when it holds an absolute path (a relative one is ignored, as the XDG rules say),
// otherwise the home folder followed by fallback.
std::string xdgFolder(const char* variable, const char* fallback) {
    const char* set = std::getenv(variable);
    if (set != nullptr && set[0] == '/') {
        return set;
    }
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] == '\0') {
        const passwd* user = ::getpwuid(::getuid());
        home = user != nullptr ? user->pw_dir : "/tmp";
    }
    return std::string(home) + fallback;
}

} // namespace

std::string userConfigFolder() {
    return xdgFolder("XDG_CONFIG_HOME", "/.config");
}

std::string userDataFolder() {
    return xdgFolder("XDG_DATA_HOME", "/.local/share");
}

} // namespace quorel
