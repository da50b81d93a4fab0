#include "ui/win32/told_text.h"

#include "platform/windows/wide_text.h"

#include <windows.h>

namespace quorel {

namespace {

bool writeTo(HANDLE output, const std::string& text) {
    if (output == nullptr || output == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    if (::GetFileType(output) == FILE_TYPE_CHAR) {
        // A console shows UTF-16 whatever its code page, and breaks lines at CR LF.
        std::string lines;
        for (char each : text) {
            lines += each == '\n' ? "\r\n" : std::string(1, each);
        }
        const std::wstring wide = toWide(lines);
        if (::WriteConsoleW(output, wide.data(), static_cast<DWORD>(wide.size()), &written,
                            nullptr) != FALSE) {
            return true;
        }
    }
    return ::WriteFile(output, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) !=
           FALSE;
}

} // namespace

void tellUser(const std::string& text, bool isError) {
    const DWORD which = isError ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE;
    if (writeTo(::GetStdHandle(which), text)) {
        return;
    }
    if (::AttachConsole(ATTACH_PARENT_PROCESS) != FALSE) {
        HANDLE console = ::CreateFileW(L"CONOUT$", GENERIC_WRITE, FILE_SHARE_WRITE, nullptr,
                                       OPEN_EXISTING, 0, nullptr);
        const bool written = writeTo(console, "\n" + text);
        ::CloseHandle(console);
        if (written) {
            return;
        }
    }
    ::MessageBoxW(nullptr, toWide(text).c_str(), L"Gestion Quorel",
                  MB_OK | (isError ? MB_ICONERROR : MB_ICONINFORMATION));
}

} // namespace quorel
