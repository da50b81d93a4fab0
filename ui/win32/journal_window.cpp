#include "ui/win32/journal_window.h"

#include "ui/win32/control_text.h"

#include <commctrl.h>
#include <shellapi.h>

namespace quorel {

namespace {

// An edit control breaks lines at CR LF only.
std::string withWindowsLineBreaks(const std::string& lines) {
    std::string converted;
    converted.reserve(lines.size() + lines.size() / 32);
    for (char each : lines) {
        if (each == '\n') {
            converted += '\r';
        }
        converted += each;
    }
    return converted;
}

} // namespace

JournalWindow::JournalWindow(JournalViewer& viewer, HWND owner) : viewer_(viewer) {
    open(owner, journalDescription());
    {
        const Quiet quiet(quiet_);
        setDate(control("ChDateJournal"), viewer_.day());
    }
    showLines();
}

void JournalWindow::raise(JournalEvent event, HWND source) {
    switch (event) {
    case JournalEvent::DayChosen:
        viewer_.chooseDay(dateIn(source));
        showLines();
        break;
    case JournalEvent::OpenFolderClicked:
        ::ShellExecuteW(window_, L"open", toWide(viewer_.folder()).c_str(), nullptr, nullptr,
                        SW_SHOWNORMAL);
        break;
    case JournalEvent::CloseClicked:
        done_ = true;
        break;
    }
}

void JournalWindow::showLines() {
    HWND lines = control("TexteJournal");
    setText(lines, withWindowsLineBreaks(viewer_.lines()));
    const int end = ::GetWindowTextLengthW(lines);
    ::SendMessageW(lines, EM_SETSEL, end, end);
    ::SendMessageW(lines, EM_SCROLLCARET, 0, 0);
}

LRESULT JournalWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND source = nullptr;
    UINT code = 0;
    switch (message) {
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL && lParam == 0) { // Escape
            done_ = true;
            return 0;
        }
        source = reinterpret_cast<HWND>(lParam);
        code = HIWORD(wParam);
        break;
    case WM_NOTIFY:
        source = reinterpret_cast<NMHDR*>(lParam)->hwndFrom;
        code = reinterpret_cast<NMHDR*>(lParam)->code;
        break;
    case WM_CLOSE:
        done_ = true;
        return 0;
    default:
        return DescribedDialog::handleMessage(message, wParam, lParam);
    }
    const int position = positionOf(source);
    if (position < 0 || quiet_ > 0) {
        return 0;
    }
    for (JournalEvent event : journalDescription().controls[position].events) {
        const bool raised =
            event == JournalEvent::DayChosen ? code == DTN_DATETIMECHANGE : code == BN_CLICKED;
        if (raised) {
            raise(event, source);
            break;
        }
    }
    return 0;
}

} // namespace quorel
