#include "platform/data_folder.h"

#include "platform/user_folders.h"

#include <sys/stat.h>
#include <unistd.h>

namespace quorel {

std::string dataFolder(const std::string& programFolder) {
    const bool writable = ::access(programFolder.c_str(), W_OK) == 0;
    const std::string folder = chooseDataFolder(programFolder, writable, userDataFolder());
    if (!writable) {
        // Each missing folder on the way, private to the user as the XDG rules ask.
        for (size_t slash = folder.find('/', 1); slash != std::string::npos;
             slash = folder.find('/', slash + 1)) {
            ::mkdir(folder.substr(0, slash).c_str(), 0700);
        }
    }
    return folder;
}

} // namespace quorel
