#include "platform/windows/wide_text.h"
#include "relay/status_text.h"
#include "ui/win32/colours.h"
#include "ui/win32/control_text.h"
#include "ui/win32/win32_main_window.h"

#include <commctrl.h>

namespace quorel {

namespace {

std::wstring listText(HWND list, int row, int column) {
    wchar_t text[256] = {};
    ListView_GetItemText(list, row, column, text, 256);
    return text;
}

// Refills a list box or drop-down when its items differ in number, as the Qt window does.
void fillItems(HWND control, const std::vector<std::string>& items, UINT count, UINT reset,
               UINT add) {
    if (::SendMessageW(control, count, 0, 0) == static_cast<LRESULT>(items.size())) {
        return;
    }
    ::SendMessageW(control, reset, 0, 0);
    for (const std::string& item : items) {
        ::SendMessageW(control, add, 0, reinterpret_cast<LPARAM>(toWide(item).c_str()));
    }
}

} // namespace

void Win32MainWindow::redraw(ViewPart part) {
    const Quiet quiet(quiet_);
    MainWindowView::redraw(part);
}

void Win32MainWindow::showClock() {
    HWND clock = control("LblHeure");
    setText(clock, program_->captions.LblHeure);
    tips_.setText(clock, program_->captions.LblHeureToolTip);
    setFill(clock, program_->captions.clockWarning
                       ? std::optional(Fill{warningBackgroundColour(), warningTextColour()})
                       : std::nullopt);
}

void Win32MainWindow::showOutputs() {
    for (int i = 0; i < 4; ++i) {
        setFill(control("LedOut", i), Fill{indicatorColour(program_->panel.LedOut[i]), {}});
        setText(control("LblTemp", i), program_->captions.LblTemp[i]);
        setText(control("LblMaxi", i), program_->captions.LblMaxi[i]);
        ::SendMessageW(control("CheckS", i), BM_SETCHECK, buttonCheck(program_->panel.CheckS[i]),
                       0);
    }
}

void Win32MainWindow::showStatus() {
    HWND status = control("InfoERR");
    setText(status, program_->panel.InfoERR);
    tips_.setText(status, program_->statusToolTip());
}

// Option buttons set by hand do not clear each other: each is set.
void Win32MainWindow::showPortChoice() {
    const int chosen = program_->panel.PortCom;
    if (chosen < 0 || chosen >= 5) {
        return;
    }
    for (int i = 0; i < 5; ++i) {
        ::SendMessageW(control("PortCom", i), BM_SETCHECK,
                       i == chosen ? BST_CHECKED : BST_UNCHECKED, 0);
    }
}

void Win32MainWindow::showRelayButtons() {
    for (int i = 0; i < 2; ++i) {
        const bool on = program_->panel.CmdRelais[i] == TestButton::RelayOn;
        setFill(control("CmdRelais", i),
                on ? std::optional(Fill{relayOnColour(), {}}) : std::nullopt);
    }
}

// The rows are set in place, so the list keeps its scroll position.
void Win32MainWindow::showList() {
    HWND list = control("Quorel");
    const EditorList& rows = program_->list;
    ::SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    int shown = ListView_GetItemCount(list);
    while (shown > rows.count()) {
        ListView_DeleteItem(list, --shown);
    }
    ListView_SetItemCount(list, rows.count());
    for (; shown < rows.count(); ++shown) {
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = shown;
        item.pszText = const_cast<wchar_t*>(L"");
        ::SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
    for (int row = 0; row < rows.count(); ++row) {
        for (int column = 0; column < 3; ++column) {
            std::wstring text = toWide(rows.row(row + 1).column(column));
            if (listText(list, row, column) != text) {
                ListView_SetItemText(list, row, column, text.data());
            }
        }
    }
    warnings_ = rowWarnings(rows);
    const auto selected = rows.selected();
    ListView_SetItemState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    if (selected) {
        ListView_SetItemState(list, *selected - 1, LVIS_SELECTED | LVIS_FOCUSED,
                              LVIS_SELECTED | LVIS_FOCUSED);
        ListView_EnsureVisible(list, *selected - 1, FALSE);
    }
    ::SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(list, nullptr, TRUE);
}

void Win32MainWindow::showEditFields() {
    const EditFields& fields = program_->fields;
    for (int i = 0; i < 3; ++i) {
        setText(control("ChEdit", i), fields.ChEdit[i]);
    }
    for (int i = 0; i < 2; ++i) {
        setText(control("ChDecoupe", i), fields.ChDecoupe[i]);
    }
    setText(control("ChDure"), fields.ChDure);
    HWND output = control("ComboS");
    fillItems(output, fields.ComboSItems, CB_GETCOUNT, CB_RESETCONTENT, CB_ADDSTRING);
    const LRESULT found = ::SendMessageW(output, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                         reinterpret_cast<LPARAM>(toWide(fields.ComboS).c_str()));
    ::SendMessageW(output, CB_SETCURSEL, found == CB_ERR ? static_cast<WPARAM>(-1) : found, 0);
}

void Win32MainWindow::showDays() {
    HWND days = control("JourSemaine");
    const std::vector<std::string>& names = program_->days.JourSemaine();
    if (names != shownDays_) {
        ::SendMessageW(days, LB_RESETCONTENT, 0, 0);
        for (const std::string& name : names) {
            ::SendMessageW(days, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(toWide(name).c_str()));
        }
        // The pop-up "Jour" lists the same timetables.
        while (::GetMenuItemCount(dayMenu_) > 0) {
            ::DeleteMenu(dayMenu_, 0, MF_BYPOSITION);
        }
        for (size_t i = 0; i < names.size(); ++i) {
            ::AppendMenuW(dayMenu_, MF_STRING, menuCommand("Jour", static_cast<int>(i) + 1),
                          toWide(names[i]).c_str());
        }
        shownDays_ = names;
    }
    const auto selected = program_->days.selectedDay();
    ::SendMessageW(days, LB_SETCURSEL,
                   selected ? static_cast<WPARAM>(*selected) : static_cast<WPARAM>(-1), 0);
}

void Win32MainWindow::showAutoRun() {
    for (const MenuItem& each : menuItems_) {
        if (each.item->content == ViewPart::AutoRun) {
            const UINT command = menuCommand(each.item->name, each.item->index);
            ::CheckMenuItem(each.menu, command,
                            MF_BYCOMMAND |
                                (program_->autoRun.checked() ? MF_CHECKED : MF_UNCHECKED));
            ::EnableMenuItem(each.menu, command,
                             MF_BYCOMMAND |
                                 (program_->autoRunAvailable() ? MF_ENABLED : MF_GRAYED));
        }
    }
}

void Win32MainWindow::showNextBell() {
    const NextBellSign sign = program_->shownNextBell();
    HWND next = control("LblProchaine");
    setText(next, sign.text);
    tips_.setText(next, sign.toolTip.empty() ? sign.text : sign.toolTip);
    setFill(next, sign.warning ? std::optional(Fill{warningBackgroundColour(), warningTextColour()})
                               : std::nullopt);
}

} // namespace quorel
