#include "platform/windows/wide_text.h"
#include "ui/win32/control_text.h"
#include "ui/win32/form_window.h"
#include "ui/win32/pixels.h"

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

std::wstring cellOf(HWND list, int row, int column) {
    wchar_t text[256] = {};
    ListView_GetItemText(list, row, column, text, 256);
    return text;
}

// Fills a list box or drop-down with its lines.
void fillLines(HWND control, const std::vector<std::string>& items, UINT reset, UINT add) {
    ::SendMessageW(control, reset, 0, 0);
    for (const std::string& item : items) {
        ::SendMessageW(control, add, 0, reinterpret_cast<LPARAM>(toWide(item).c_str()));
    }
}

WPARAM lineOf(const std::optional<size_t>& selected) {
    return selected ? static_cast<WPARAM>(*selected) : static_cast<WPARAM>(-1);
}

} // namespace

void FormWindow::drawAll() {
    if (form_ == nullptr) {
        return;
    }
    for (size_t i = 0; i < shown_.size(); ++i) {
        if (controlAt(i).content) {
            drawControl(i);
        }
    }
    for (size_t i = 0; i < items_.size(); ++i) {
        if (items_[i].described.item->content) {
            drawItem(i);
        }
    }
}

void FormWindow::drawPart(int part) {
    if (form_ == nullptr) {
        return;
    }
    for (size_t i = 0; i < shown_.size(); ++i) {
        if (controlAt(i).content == part) {
            drawControl(i);
        }
    }
    for (size_t i = 0; i < items_.size(); ++i) {
        if (items_[i].described.item->content == part) {
            drawItem(i);
        }
    }
}

void FormWindow::drawControl(size_t position) {
    const ControlValue value = shownValue(controlAt(position), form_->value(position, false));
    if (shown_[position] != value) {
        const Quiet quiet(drawing_);
        drawValue(position, shown_[position], value);
        shown_[position] = value;
    }
}

// Sets only what changed since the control was last drawn: a field being typed in keeps its
// cursor, a list its scroll position.
void FormWindow::drawValue(size_t position, const std::optional<ControlValue>& before,
                           const ControlValue& value) {
    const NativeControls::Control& control = controlAt(position);
    HWND handle = controls_.built[position].handle;
    const auto changed = [&before, &value](auto field) {
        return !before || (*before).*field != value.*field;
    };
    switch (control.kind) {
    case ControlKind::Label:
        if (changed(&ControlValue::text)) {
            setText(handle, value.text);
            if (control.clipsText) {
                fitType(position, value.text);
            }
        }
        [[fallthrough]];
    case ControlKind::ColourBox:
    case ControlKind::PushButton:
        if (changed(&ControlValue::look)) {
            setFill(handle, quorel::fillOf(value.look));
        }
        break;
    case ControlKind::CheckBox:
    case ControlKind::OptionButton:
        if (changed(&ControlValue::check)) {
            ::SendMessageW(handle, BM_SETCHECK, buttonCheck(value.check), 0);
        }
        break;
    case ControlKind::TextField:
        if (changed(&ControlValue::text)) {
            setText(handle, value.text);
        }
        break;
    case ControlKind::ComboField: {
        const bool refilled = changed(&ControlValue::items);
        if (refilled) {
            fillLines(handle, value.items, CB_RESETCONTENT, CB_ADDSTRING);
        }
        if (refilled || changed(&ControlValue::text)) {
            setText(handle, value.text);
        }
        break;
    }
    case ControlKind::DropDown:
    case ControlKind::ListBox: {
        const bool dropDown = control.kind == ControlKind::DropDown;
        const bool refilled = changed(&ControlValue::items);
        if (refilled) {
            fillLines(handle, value.items, dropDown ? CB_RESETCONTENT : LB_RESETCONTENT,
                      dropDown ? CB_ADDSTRING : LB_ADDSTRING);
        }
        if (refilled || changed(&ControlValue::selected)) {
            ::SendMessageW(handle, dropDown ? CB_SETCURSEL : LB_SETCURSEL, lineOf(value.selected),
                           0);
        }
        break;
    }
    case ControlKind::ReportList:
        if (changed(&ControlValue::rows)) {
            drawRows(position, value);
        }
        if (changed(&ControlValue::rows) || changed(&ControlValue::selected)) {
            ListView_SetItemState(handle, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
            if (value.selected) {
                const auto row = static_cast<int>(*value.selected);
                ListView_SetItemState(handle, row, LVIS_SELECTED | LVIS_FOCUSED,
                                      LVIS_SELECTED | LVIS_FOCUSED);
                ListView_EnsureVisible(handle, row, FALSE);
            }
        }
        if (changed(&ControlValue::rowLooks)) {
            ::InvalidateRect(handle, nullptr, TRUE);
        }
        break;
    case ControlKind::DateField:
        if (changed(&ControlValue::date)) {
            setDate(handle, value.date);
        }
        break;
    case ControlKind::LinesView:
        if (changed(&ControlValue::text)) {
            setText(handle, withWindowsLineBreaks(value.text));
            const int end = ::GetWindowTextLengthW(handle);
            ::SendMessageW(handle, EM_SETSEL, end, end);
            ::SendMessageW(handle, EM_SCROLLCARET, 0, 0);
        }
        break;
    case ControlKind::GroupBox:
        break;
    }
    if (changed(&ControlValue::toolTip) && control.kind != ControlKind::ReportList) {
        tips_.setText(handle, value.toolTip);
    }
    if (changed(&ControlValue::enabled)) {
        ::EnableWindow(handle, value.enabled ? TRUE : FALSE);
    }
    if (changed(&ControlValue::visible)) {
        ::ShowWindow(handle, value.visible ? SW_SHOWNA : SW_HIDE);
    }
}

// The rows are set in place, so the list keeps its scroll position.
void FormWindow::drawRows(size_t position, const ControlValue& value) {
    HWND list = controls_.built[position].handle;
    const auto& rows = value.rows;
    const auto count = static_cast<int>(rows.size());
    ::SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    int shown = ListView_GetItemCount(list);
    while (shown > count) {
        ListView_DeleteItem(list, --shown);
    }
    ListView_SetItemCount(list, count);
    for (; shown < count; ++shown) {
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = shown;
        item.pszText = const_cast<wchar_t*>(L"");
        ::SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
    for (int row = 0; row < count; ++row) {
        for (size_t column = 0; column < rows[row].size(); ++column) {
            std::wstring text = toWide(rows[row][column]);
            if (cellOf(list, row, static_cast<int>(column)) != text) {
                ListView_SetItemText(list, row, static_cast<int>(column), text.data());
            }
        }
    }
    fitColumns(list, controlAt(position), windowDpi(window_));
    ::SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(list, nullptr, TRUE);
}

void FormWindow::drawItem(size_t item) {
    MenuEntry& entry = items_[item];
    const ControlValue value = shownValue(*entry.described.item, form_->value(item, true));
    if (entry.shown != value) {
        entry.shown = value;
        rebuildMenu(entry.menu);
    }
}

// A menu item cannot be hidden: the menu is made again of the items that show.
void FormWindow::rebuildMenu(HMENU menu) {
    while (::GetMenuItemCount(menu) > 0) {
        ::DeleteMenu(menu, 0, MF_BYPOSITION);
    }
    for (size_t i = 0; i < items_.size(); ++i) {
        const MenuEntry& entry = items_[i];
        if (entry.menu != menu || (entry.shown && !entry.shown->visible)) {
            continue;
        }
        UINT flags = MF_STRING;
        if (entry.shown) {
            flags |= (entry.shown->check == CheckState::Checked ? MF_CHECKED : MF_UNCHECKED) |
                     (entry.shown->enabled ? MF_ENABLED : MF_GRAYED);
        }
        ::AppendMenuW(
            menu, flags, kFirstMenuCommand + i,
            toWide(entry.shown ? entry.shown->text : entry.described.item->caption).c_str());
    }
    if (menuBar_ != nullptr && window_ != nullptr) {
        ::DrawMenuBar(window_);
    }
}

// A label whose text is wider than its place shows it in a smaller type.
void FormWindow::fitType(size_t position, const std::string& text) {
    const NativeControls::Control& control = controlAt(position);
    HWND handle = controls_.built[position].handle;
    RECT room{};
    ::GetClientRect(handle, &room);
    const int height = fonts_.height(control.largerType);
    const int needed =
        textSize(handle, fonts_.font(control.bold, control.largerType), toWide(text)).cx;
    HFONT font = fonts_.ofHeight(control.bold, typeHeightToFit(height, needed, room.right));
    if (reinterpret_cast<HFONT>(::SendMessageW(handle, WM_GETFONT, 0, 0)) != font) {
        ::SendMessageW(handle, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    }
}

std::optional<COLORREF> FormWindow::fillOf(HWND control) const {
    const auto found = fills_.find(control);
    return found == fills_.end() ? std::nullopt : std::optional(found->second.background);
}

void FormWindow::setFill(HWND control, std::optional<Fill> fill) {
    if (fill) {
        fills_[control] = *fill;
    } else {
        fills_.erase(control);
    }
    ::InvalidateRect(control, nullptr, TRUE);
}

HBRUSH FormWindow::brushOf(COLORREF colour) {
    HBRUSH& brush = brushes_[colour];
    if (brush == nullptr) {
        brush = ::CreateSolidBrush(colour);
    }
    return brush;
}

LRESULT FormWindow::colourStatic(HDC dc, HWND control) {
    const auto found = fills_.find(control);
    if (found == fills_.end()) {
        return ::DefWindowProcW(window_, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                reinterpret_cast<LPARAM>(control));
    }
    ::SetBkColor(dc, found->second.background);
    if (found->second.text) {
        ::SetTextColor(dc, *found->second.text);
    }
    return reinterpret_cast<LRESULT>(brushOf(found->second.background));
}

void FormWindow::drawColouredButton(const DRAWITEMSTRUCT& draw) const {
    RECT place = draw.rcItem;
    const auto fill = fillOf(draw.hwndItem);
    const bool pushed = (draw.itemState & ODS_SELECTED) != 0;
    if (fill) {
        // Flat, in its colour, as the Qt window's style sheet draws it.
        HBRUSH brush = ::CreateSolidBrush(*fill);
        ::FillRect(draw.hDC, &place, brush);
        ::DeleteObject(brush);
        HBRUSH frame = ::CreateSolidBrush(RGB(0x80, 0x80, 0x80));
        ::FrameRect(draw.hDC, &place, frame);
        ::DeleteObject(frame);
    } else {
        ::DrawFrameControl(draw.hDC, &place, DFC_BUTTON,
                           DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0u));
    }
    const std::wstring caption = toWide(textOf(draw.hwndItem));
    ::SetBkMode(draw.hDC, TRANSPARENT);
    ::SetTextColor(draw.hDC, ::GetSysColor((draw.itemState & ODS_DISABLED) != 0 ? COLOR_GRAYTEXT
                                                                                : COLOR_BTNTEXT));
    if (pushed) {
        ::OffsetRect(&place, 1, 1);
    }
    ::DrawTextW(draw.hDC, caption.c_str(), static_cast<int>(caption.size()), &place,
                DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    if ((draw.itemState & ODS_FOCUS) != 0) {
        RECT focus = draw.rcItem;
        ::InflateRect(&focus, -4, -4);
        ::DrawFocusRect(draw.hDC, &focus);
    }
}

// A row greyed or in the warning colours, as its look says.
LRESULT FormWindow::drawRow(size_t position, NMLVCUSTOMDRAW* draw) const {
    if (draw->nmcd.dwDrawStage == CDDS_PREPAINT) {
        return CDRF_NOTIFYITEMDRAW;
    }
    const size_t row = draw->nmcd.dwItemSpec;
    const auto& looks = shown_[position] ? shown_[position]->rowLooks : std::vector<Look>{};
    if (draw->nmcd.dwDrawStage != CDDS_ITEMPREPAINT || row >= looks.size()) {
        return CDRF_DODEFAULT;
    }
    switch (looks[row]) {
    case Look::Greyed:
        draw->clrText = ::GetSysColor(COLOR_GRAYTEXT);
        return CDRF_NEWFONT;
    case Look::Warning:
        draw->clrText = warningTextColour();
        draw->clrTextBk = warningBackgroundColour();
        return CDRF_NEWFONT;
    default:
        return CDRF_DODEFAULT;
    }
}

// The tip of a row of a report list, else the list's own.
std::string FormWindow::rowToolTip(size_t position, int row) const {
    if (shown_[position] && row >= 0) {
        const auto& tips = shown_[position]->rowToolTips;
        if (static_cast<size_t>(row) < tips.size() && !tips[row].empty()) {
            return tips[row];
        }
    }
    return toolTipOf(position);
}

std::string FormWindow::toolTipOf(size_t position) const {
    if (shown_[position] && !shown_[position]->toolTip.empty()) {
        return shown_[position]->toolTip;
    }
    return controlAt(position).toolTip;
}

} // namespace quorel
