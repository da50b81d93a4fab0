#include "ui/win32/control_text.h"

#include "platform/windows/wide_text.h"

#include <commctrl.h>

namespace quorel {

std::string textOf(HWND control) {
    const int length = ::GetWindowTextLengthW(control);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    ::GetWindowTextW(control, text.data(), length + 1);
    text.resize(static_cast<size_t>(length));
    return fromWide(text);
}

void setText(HWND control, const std::string& text) {
    if (textOf(control) != text) {
        ::SetWindowTextW(control, toWide(text).c_str());
    }
}

WPARAM buttonCheck(CheckState state) {
    switch (state) {
    case CheckState::Checked:
        return BST_CHECKED;
    case CheckState::Greyed:
        return BST_INDETERMINATE;
    case CheckState::Unchecked:
        break;
    }
    return BST_UNCHECKED;
}

LocalDate dateIn(HWND field) {
    SYSTEMTIME time{};
    DateTime_GetSystemtime(field, &time);
    return LocalDate{time.wYear, time.wMonth, time.wDay};
}

void setDate(HWND field, const LocalDate& date) {
    SYSTEMTIME time{};
    time.wYear = static_cast<WORD>(date.year);
    time.wMonth = static_cast<WORD>(date.month);
    time.wDay = static_cast<WORD>(date.day);
    time.wHour = 12; // a day, whatever the time
    if (dateIn(field) != date) {
        DateTime_SetSystemtime(field, GDT_VALID, &time);
    }
}

} // namespace quorel
