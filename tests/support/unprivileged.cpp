#include "tests/support/unprivileged.h"

#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace quorel::test {

bool runUnprivileged(const std::function<bool()>& check) {
    if (::geteuid() != 0) {
        return check();
    }
    const pid_t child = ::fork();
    if (child < 0) {
        return false;
    }
    if (child == 0) {
        const gid_t nobodyGroup = 65534;
        const uid_t nobody = 65534;
        if (::setgroups(0, nullptr) != 0 || ::setgid(nobodyGroup) != 0 || ::setuid(nobody) != 0) {
            ::_exit(2);
        }
        ::_exit(check() ? 0 : 1);
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void openPathToEveryone(const std::string& folder) {
    std::string path = folder;
    while (!path.empty() && path != "/") {
        struct stat info {};
        if (::stat(path.c_str(), &info) == 0) {
            ::chmod(path.c_str(), (info.st_mode & 07777) | 0755);
        }
        const size_t slash = path.find_last_of('/', path.size() > 1 ? path.size() - 2 : 0);
        if (slash == std::string::npos) {
            break;
        }
        path = path.substr(0, slash == 0 ? 1 : slash);
    }
}

} // namespace quorel::test
