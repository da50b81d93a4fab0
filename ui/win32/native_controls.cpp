#include "ui/win32/native_controls.h"

#include "platform/windows/wide_text.h"
#include "ui/win32/pixels.h"

#include <algorithm>
#include <commctrl.h>

namespace quorel {

namespace {

DWORD alignmentStyle(TextAlignment alignment) {
    switch (alignment) {
    case TextAlignment::Centre:
        return SS_CENTER;
    case TextAlignment::Right:
        return SS_RIGHT;
    case TextAlignment::Left:
        break;
    }
    return SS_LEFT;
}

struct NativeKind {
    const wchar_t* className;
    DWORD style;
    DWORD exStyle = 0;
};

NativeKind nativeKind(const NativeControls::Control& control, bool firstOption) {
    const DWORD tab = WS_TABSTOP | WS_GROUP;
    switch (control.kind) {
    case ControlKind::Label:
        // SS_NOTIFY: the tool tips see the pointer over it.
        return {L"STATIC", alignmentStyle(control.alignment) | SS_NOPREFIX | SS_NOTIFY | WS_GROUP |
                               (control.framed ? WS_BORDER : 0u)};
    case ControlKind::PushButton:
        return {L"BUTTON", tab | (drawnByWindow(control) ? BS_OWNERDRAW : BS_PUSHBUTTON)};
    case ControlKind::OptionButton:
        return {L"BUTTON", BS_AUTORADIOBUTTON | (firstOption ? tab : 0u)};
    case ControlKind::CheckBox:
        return {L"BUTTON", tab | BS_3STATE};
    case ControlKind::TextField:
        return {L"EDIT", tab | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    case ControlKind::ColourBox:
        return {L"STATIC", SS_LEFT | WS_BORDER | WS_GROUP};
    case ControlKind::GroupBox:
        return {L"BUTTON", BS_GROUPBOX | WS_GROUP};
    case ControlKind::ReportList:
        return {WC_LISTVIEWW, tab | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS,
                WS_EX_CLIENTEDGE};
    case ControlKind::ListBox:
        return {L"LISTBOX", tab | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL, WS_EX_CLIENTEDGE};
    case ControlKind::DropDown:
        return {L"COMBOBOX", tab | CBS_DROPDOWNLIST | WS_VSCROLL};
    case ControlKind::ComboField:
        return {L"COMBOBOX", tab | CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL};
    case ControlKind::DateField:
        return {DATETIMEPICK_CLASSW, tab | DTS_SHORTDATEFORMAT};
    case ControlKind::LinesView:
        return {L"EDIT",
                tab | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | ES_AUTOHSCROLL | WS_VSCROLL |
                    WS_HSCROLL,
                WS_EX_CLIENTEDGE};
    }
    return {L"STATIC", SS_LEFT};
}

// The room a fixed caption needs in its control, in pixels: the text, and the box or circle
// before it.
SIZE captionSize(HWND handle, const NativeControls::Control& control, HFONT font, int dpi) {
    SIZE size = textSize(handle, font, toWide(control.caption));
    if (control.kind != ControlKind::Label) {
        const int mark = ::MulDiv(::GetSystemMetrics(SM_CXMENUCHECK), dpi, kBaseDpi);
        size.cx += mark + ::MulDiv(6, dpi, kBaseDpi);
        size.cy = std::max<LONG>(size.cy, mark);
    }
    return size;
}

// A drop-down's height is that of its list opened; its closed height follows its type.
constexpr int kDropDownListTwips = 1500;

HFONT fontOf(const NativeControls::Control& control, WindowFonts& fonts) {
    return control.kind == ControlKind::LinesView ? fonts.fixedWidth()
                                                  : fonts.font(control.bold, control.largerType);
}

} // namespace

bool drawnByWindow(const ControlDescription<int, int>& control) {
    return control.kind == ControlKind::PushButton && control.content.has_value();
}

SIZE textSize(HWND control, HFONT font, const std::wstring& text) {
    HDC dc = ::GetDC(control);
    const HGDIOBJ previous = ::SelectObject(dc, font);
    RECT room{0, 0, 0, 0};
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &room, DT_CALCRECT | DT_NOPREFIX);
    ::SelectObject(dc, previous);
    ::ReleaseDC(control, dc);
    return {room.right - room.left, room.bottom - room.top};
}

void fitColumns(HWND list, const ControlDescription<int, int>& control, int dpi) {
    for (size_t column = 0; column < control.columns.size(); ++column) {
        const ColumnFit fit = columnFit(control, column);
        ListView_SetColumnWidth(
            list, static_cast<int>(column),
            fit == ColumnFit::Described
                ? pixels(control.columns[column].width, dpi)
                : (fit == ColumnFit::Rest ? LVSCW_AUTOSIZE_USEHEADER : LVSCW_AUTOSIZE));
    }
}

void NativeControls::build(HWND parent, const FormDescription& window, WindowFonts& fonts) {
    for (const Control& control : window.controls) {
        Built each{.control = &control};
        if (control.container != nullptr) {
            for (size_t i = 0; i < built.size(); ++i) {
                if (std::string_view(built[i].control->name) == control.container) {
                    each.container = static_cast<int>(i);
                }
            }
        }
        const bool firstOption =
            control.kind == ControlKind::OptionButton &&
            (built.empty() || std::string_view(built.back().control->name) != control.name);
        const NativeKind kind = nativeKind(control, firstOption);
        const int id = kFirstControlId + static_cast<int>(built.size());
        const std::wstring caption =
            control.kind == ControlKind::TextField ? L"" : toWide(control.caption);
        each.handle =
            ::CreateWindowExW(kind.exStyle, kind.className, caption.c_str(),
                              WS_CHILD | kind.style | (control.visible ? WS_VISIBLE : 0u), 0, 0, 0,
                              0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                              ::GetModuleHandleW(nullptr), nullptr);
        ::SendMessageW(each.handle, WM_SETFONT, reinterpret_cast<WPARAM>(fontOf(control, fonts)),
                       FALSE);
        switch (control.kind) {
        case ControlKind::OptionButton:
        case ControlKind::CheckBox:
            ::SendMessageW(each.handle, BM_SETCHECK, control.checked ? BST_CHECKED : BST_UNCHECKED,
                           0);
            break;
        case ControlKind::ReportList: {
            ListView_SetExtendedListViewStyle(each.handle,
                                              LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
            int column = 0;
            for (const ListColumn& described : control.columns) {
                std::wstring header = toWide(described.caption);
                LVCOLUMNW item{};
                item.mask = LVCF_TEXT | LVCF_SUBITEM;
                item.pszText = header.data();
                item.iSubItem = column;
                ::SendMessageW(each.handle, LVM_INSERTCOLUMNW, column++,
                               reinterpret_cast<LPARAM>(&item));
            }
            break;
        }
        case ControlKind::DateField:
            ::SendMessageW(each.handle, DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(L"dd/MM/yyyy"));
            break;
        default:
            break;
        }
        built.push_back(each);
    }
}

void NativeControls::place(int dpi, WindowFonts& fonts) {
    for (Built& each : built) {
        const Control& control = *each.control;
        HFONT font = fontOf(control, fonts);
        ::SendMessageW(each.handle, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        TwipsRect place = control.place;
        if (widensToFitCaption(control)) {
            const SIZE needed = captionSize(each.handle, control, font, dpi);
            place = placeFitting(control, ::MulDiv(needed.cx, 1440, dpi),
                                 ::MulDiv(needed.cy, 1440, dpi));
        }
        // Each length rounds on its own, as the container's and the control's do in Qt.
        int left = pixels(place.left, dpi);
        int top = pixels(place.top, dpi);
        if (each.container >= 0) {
            left += pixels(built[each.container].control->place.left, dpi);
            top += pixels(built[each.container].control->place.top, dpi);
        }
        int height = pixels(place.height, dpi);
        if (control.kind == ControlKind::DropDown || control.kind == ControlKind::ComboField) {
            height += pixels(kDropDownListTwips, dpi);
        }
        ::SetWindowPos(each.handle, nullptr, left, top, pixels(place.width, dpi), height,
                       SWP_NOZORDER | SWP_NOACTIVATE);
        if (control.kind == ControlKind::ReportList) {
            fitColumns(each.handle, control, dpi);
        }
    }
    // The frames lie under the controls they hold, and draw nothing over them.
    for (Built& each : built) {
        if (each.control->kind == ControlKind::GroupBox) {
            ::SetWindowLongPtrW(each.handle, GWL_STYLE,
                                ::GetWindowLongPtrW(each.handle, GWL_STYLE) | WS_CLIPSIBLINGS);
            ::SetWindowPos(each.handle, HWND_BOTTOM, 0, 0, 0, 0,
                           SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
    }
}

HWND NativeControls::find(std::string_view name, int index) const {
    for (const Built& each : built) {
        if (each.control->index == index && name == each.control->name) {
            return each.handle;
        }
    }
    return nullptr;
}

std::optional<size_t> NativeControls::positionOf(HWND control) const {
    for (size_t i = 0; i < built.size(); ++i) {
        if (built[i].handle == control) {
            return i;
        }
    }
    return std::nullopt;
}

} // namespace quorel
