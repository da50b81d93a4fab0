#include "schedule/file_exists.h"

#include <sys/stat.h>

namespace quorel {

bool FileExists(const std::string& path) {
    if (path.find_first_not_of(" \t") == std::string::npos) {
        return false;
    }
    // The text is looked up untrimmed; a path holding a NUL byte cannot name a file.
    if (path.find('\0') != std::string::npos) {
        return false;
    }
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return false;
    }
    const size_t slash = path.rfind('/');
    const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    return nameStart < path.size() && path[nameStart] != '.';
}

} // namespace quorel
