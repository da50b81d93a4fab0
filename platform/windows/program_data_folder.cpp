#include "platform/windows/program_data_folder.h"

#include "platform/windows/wide_text.h"

#include <windows.h>

#include <shlobj.h>

namespace quorel {

std::string programDataFolder() {
    PWSTR known = nullptr;
    std::string folder;
    if (SUCCEEDED(::SHGetKnownFolderPath(FOLDERID_ProgramData, 0, nullptr, &known))) {
        folder = fromWide(known);
    }
    ::CoTaskMemFree(known);
    if (!folder.empty()) {
        return folder;
    }
    wchar_t value[MAX_PATH * 2] = {};
    const DWORD length = ::GetEnvironmentVariableW(L"ProgramData", value, MAX_PATH * 2);
    return length > 0 && length < MAX_PATH * 2 ? fromWide(value) : "C:\\ProgramData";
}

} // namespace quorel
