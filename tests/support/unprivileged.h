#pragma once

#include <filesystem>
#include <functional>
#include <grp.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace quorel::test {

// Runs check in a child process as the unprivileged user "nobody" when the tests run as root (a
// root process can read and write files whatever their permissions), or in this process
// otherwise. Returns what check returned; the check must not use gtest assertions.
inline bool runUnprivileged(const std::function<bool()>& check) {
    if (::geteuid() != 0) {
        return check();
    }
    const pid_t child = ::fork();
    if (child == 0) {
        const bool dropped =
            ::setgroups(0, nullptr) == 0 && ::setgid(65534) == 0 && ::setuid(65534) == 0;
        ::_exit(dropped && check() ? 0 : 1);
    }
    int status = 1;
    return child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

// Makes a folder and everything above it reachable by "nobody", for files a check must see.
inline void openPathToEveryone(const std::string& folder) {
    namespace fs = std::filesystem;
    std::error_code ignored;
    for (fs::path path = folder; path != path.parent_path(); path = path.parent_path()) {
        fs::permissions(path, fs::perms(0755), fs::perm_options::add, ignored);
    }
}

} // namespace quorel::test
