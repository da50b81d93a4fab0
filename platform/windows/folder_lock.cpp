#include "platform/folder_lock.h"

#include "platform/windows/wide_text.h"

#include <windows.h>

namespace quorel {

FolderLock::~FolderLock() {
    if (handle_ != -1) {
        ::CloseHandle(reinterpret_cast<HANDLE>(handle_));
    }
}

bool FolderLock::take(const std::string& folder) {
    // Opened without sharing: a second open fails until the system closes this handle, at the
    // latest when the process ends.
    const HANDLE file =
        ::CreateFileW(toWide(folder + kFolderLockName).c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                      nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_HIDDEN, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return ::GetLastError() != ERROR_SHARING_VIOLATION;
    }
    handle_ = reinterpret_cast<intptr_t>(file);
    return true;
}

} // namespace quorel
