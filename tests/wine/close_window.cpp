// Closes Quorel's main window as its close box does: posts WM_CLOSE to the top-level window whose
// title begins with "Gestion Quorel " (the message boxes are titled "Gestion Quorel" alone).
// Exit status 0 once posted, 1 when no such window appeared within 10 seconds.
#include <windows.h>

#include <string>

namespace {

BOOL CALLBACK postCloseToMainWindow(HWND window, LPARAM posted) {
    wchar_t title[128] = {};
    GetWindowTextW(window, title, 128);
    if (std::wstring(title).starts_with(L"Gestion Quorel ") && IsWindowVisible(window)) {
        *reinterpret_cast<bool*>(posted) = PostMessageW(window, WM_CLOSE, 0, 0) != 0;
        return FALSE;
    }
    return TRUE;
}

} // namespace

int wmain() {
    for (int attempt = 0; attempt < 100; ++attempt) {
        bool posted = false;
        EnumWindows(postCloseToMainWindow, reinterpret_cast<LPARAM>(&posted));
        if (posted) {
            return 0;
        }
        Sleep(100);
    }
    return 1;
}
