#pragma once

#include "platform/windows/wide_text.h"
#include "tests/support/program_station.h"
#include "ui/win32/native_controls.h"
#include "ui/win32/win32_main_window.h"

#include <functional>
#include <map>
#include <windows.h>

#include <commctrl.h>

namespace quorel::test {

// Runs the messages waiting, as the message loop would.
inline void runPendingMessages() {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

// Runs act from the next message loop that runs, a modal one included.
inline void whenLoopRuns(std::function<void()> act) {
    static std::map<UINT_PTR, std::function<void()>> pending;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 10, [](HWND, UINT, UINT_PTR timer, DWORD) {
        ::KillTimer(nullptr, timer);
        const std::function<void()> now = std::move(pending[timer]);
        pending.erase(timer);
        if (now) {
            now();
        }
    });
    pending[timer] = std::move(act);
}

inline std::string textOf(HWND control) {
    wchar_t text[4096] = {};
    ::GetWindowTextW(control, text, 4096);
    return fromWide(text);
}

inline std::string cellOf(HWND list, int row, int column) {
    wchar_t text[256] = {};
    ListView_GetItemText(list, row, column, text, 256);
    return fromWide(text);
}

// A control of a described dialog that shows.
template <typename Description>
HWND dialogControl(const wchar_t* title, const Description& description, const char* name,
                   int index = -1) {
    return ::GetDlgItem(::FindWindowW(L"QuorelWindow", title),
                        kFirstControlId + description.control(name, index)->tabOrder);
}

// The real Win32 window bound to the real logic; start() also shows it.
template <typename Startup = FakeStartupEntry>
struct Win32Station : ProgramStation<Win32MainWindow, Startup> {
    using Base = ProgramStation<Win32MainWindow, Startup>;
    Win32Station() { this->window.attach(this->program); }
    ~Win32Station() { this->window.detach(); }
    void start(LocalDate date = {2020, 6, 22}, double seconds = 0,
               const std::map<std::string, std::string>& files = {}) {
        Base::start(date, seconds, files);
        this->window.show();
        runPendingMessages();
    }
    HWND find(const char* name, int index = -1) { return this->window.control(name, index); }
    // As the operator does: each notification the control sends its window.
    void click(const char* name, int index = -1) {
        ::SendMessageW(find(name, index), BM_CLICK, 0, 0);
    }
    void type(const char* name, int index, const std::string& text) {
        ::SendMessageW(find(name, index), WM_SETTEXT, 0,
                       reinterpret_cast<LPARAM>(toWide(text).c_str()));
    }
    void chooseDay(int row) {
        HWND days = find("JourSemaine");
        ::SendMessageW(days, LB_SETCURSEL, row, 0);
        ::SendMessageW(this->window.handle(), WM_COMMAND,
                       MAKEWPARAM(::GetDlgCtrlID(days), LBN_SELCHANGE),
                       reinterpret_cast<LPARAM>(days));
        runPendingMessages(); // a question waits until the click is over
    }
    void notifyFromList(NMHDR& header) {
        header.hwndFrom = find("Quorel");
        header.idFrom = static_cast<UINT_PTR>(::GetDlgCtrlID(header.hwndFrom));
        ::SendMessageW(this->window.handle(), WM_NOTIFY, header.idFrom,
                       reinterpret_cast<LPARAM>(&header));
    }
    void menu(const char* name, int index = -1) {
        ::SendMessageW(this->window.handle(), WM_COMMAND, this->window.menuCommand(name, index), 0);
    }
    int rows() { return ListView_GetItemCount(find("Quorel")); }
    std::string row(int index) {
        HWND list = find("Quorel");
        return cellOf(list, index, 0) + " " + cellOf(list, index, 1) + " " + cellOf(list, index, 2);
    }
    std::string text(const char* name, int index = -1) { return textOf(find(name, index)); }
};

} // namespace quorel::test
