#include "platform/program_folder.h"

#include "platform/windows/wide_text.h"

#include <windows.h>

namespace quorel {

namespace {

// The executable's full path; the buffer grows until the path fits (long paths exceed MAX_PATH).
std::wstring executablePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            return {};
        }
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

} // namespace

std::string programFolder() {
    const std::wstring path = executablePath();
    const size_t separator = path.find_last_of(L"\\/");
    if (separator == std::wstring::npos) {
        return ".\\";
    }
    return fromWide(path.substr(0, separator + 1));
}

std::string programBaseName() {
    const std::wstring path = executablePath();
    const size_t separator = path.find_last_of(L"\\/");
    std::wstring name = separator == std::wstring::npos ? path : path.substr(separator + 1);
    // "quorel.exe" is named "quorel", as the start-up entry and the messages name it.
    const size_t dot = name.rfind(L'.');
    if (dot != std::wstring::npos && dot > 0) {
        name.resize(dot);
    }
    return fromWide(name);
}

std::string programPath() {
    return programFolder() + programBaseName() + ".exe";
}

} // namespace quorel
