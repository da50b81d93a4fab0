#include "platform/data_folder.h"

#include "platform/user_folders.h"
#include "platform/windows/wide_text.h"

#include <windows.h>

namespace quorel {

namespace {

// Whether the user may create files in the folder. Access rights on Windows are lists that only
// an attempt answers: a file that is deleted as soon as it is closed.
bool canCreateFilesIn(const std::string& folder) {
    const std::wstring probe = toWide(folder + ".quorel-write-probe");
    const HANDLE file =
        ::CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                      FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        // A probe left by another copy of the program means the folder is writable.
        return ::GetLastError() == ERROR_FILE_EXISTS;
    }
    ::CloseHandle(file);
    return true;
}

} // namespace

std::string dataFolder(const std::string& programFolder) {
    if (canCreateFilesIn(programFolder)) {
        return programFolder;
    }
    const std::string folder = userDataFolder() + "\\quorel\\";
    ::CreateDirectoryW(toWide(folder).c_str(), nullptr);
    return folder;
}

} // namespace quorel
