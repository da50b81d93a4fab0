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

// The installer puts this file beside the program: an installed copy keeps its files in the
// user's folder even where it could write beside itself (an administrator under Program Files).
bool isInstalledCopy(const std::string& folder) {
    const DWORD attributes = ::GetFileAttributesW(toWide(folder + kInstalledMarker).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

} // namespace

std::string dataFolder(const std::string& programFolder) {
    if (!isInstalledCopy(programFolder) && canCreateFilesIn(programFolder)) {
        return programFolder;
    }
    const std::string folder = userDataFolder() + "\\quorel\\";
    ::CreateDirectoryW(toWide(folder).c_str(), nullptr);
    return folder;
}

} // namespace quorel
