#include "platform/user_folders.h"

#include "platform/windows/wide_text.h"

#include <windows.h>

namespace quorel {

namespace {

// The folder an environment variable of the user's session names, or the user's profile folder
// when it is not set.
std::string sessionFolder(const wchar_t* variable) {
    for (const wchar_t* name : {variable, L"USERPROFILE"}) {
        wchar_t value[MAX_PATH * 2] = {};
        const DWORD length = ::GetEnvironmentVariableW(name, value, MAX_PATH * 2);
        if (length > 0 && length < MAX_PATH * 2) {
            return fromWide(value);
        }
    }
    return "C:";
}

} // namespace

std::string userConfigFolder() {
    return sessionFolder(L"APPDATA");
}

std::string userDataFolder() {
    return sessionFolder(L"LOCALAPPDATA");
}

} // namespace quorel
