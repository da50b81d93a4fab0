#include "platform/program_folder.h"

#include <unistd.h>

namespace quorel {

namespace {

std::string executablePath() {
    std::string path(4096, '\0');
    const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size());
    if (length <= 0) {
        return {};
    }
    path.resize(static_cast<size_t>(length));
    return path;
}

} // namespace

std::string programFolder() {
    std::string path = executablePath();
    const size_t slash = path.rfind('/');
    std::string folder = slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
    if (folder.empty() || folder.back() != '/') {
        folder += '/';
    }
    return folder;
}

std::string programBaseName() {
    std::string path = executablePath();
    const size_t slash = path.rfind('/');
    // Linux executables carry no extension, so the file name is the base name as it stands.
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string programPath() {
    return programFolder() + programBaseName();
}

} // namespace quorel
