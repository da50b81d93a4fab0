#include "ui/win32/native_controls.h"

#include "platform/windows/wide_text.h"
#include "ui/win32/pixels.h"

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

NativeKind nativeKind(const ControlSpec& spec, bool firstOption) {
    const DWORD tab = WS_TABSTOP | WS_GROUP;
    switch (spec.kind) {
    case ControlKind::Label:
        // SS_NOTIFY: the tool tips see the pointer over it.
        return {L"STATIC", alignmentStyle(spec.alignment) | SS_NOPREFIX | SS_NOTIFY | WS_GROUP |
                               (spec.framed ? WS_BORDER : 0u)};
    case ControlKind::PushButton:
        return {L"BUTTON", tab | (spec.coloured ? BS_OWNERDRAW : BS_PUSHBUTTON)};
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

bool widensToFitCaption(const ControlSpec& spec) {
    switch (spec.kind) {
    case ControlKind::Label:
        return !spec.clipsText;
    case ControlKind::OptionButton:
    case ControlKind::CheckBox:
        return true;
    default:
        return false;
    }
}

// The width a caption needs in its control: the text, and the box or circle before it.
int captionWidth(HWND control, const ControlSpec& spec, HFONT font, int dpi) {
    const std::wstring text = toWide(spec.caption);
    HDC dc = ::GetDC(control);
    const HGDIOBJ previous = ::SelectObject(dc, font);
    SIZE size{};
    ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    ::SelectObject(dc, previous);
    ::ReleaseDC(control, dc);
    if (spec.kind == ControlKind::Label) {
        return size.cx;
    }
    return size.cx + ::MulDiv(::GetSystemMetrics(SM_CXMENUCHECK), dpi, kBaseDpi) +
           ::MulDiv(6, dpi, kBaseDpi);
}

// A drop-down's height is that of its list opened; its closed height follows its type.
constexpr int kDropDownListTwips = 1500;

} // namespace

void NativeControls::create(HWND parent, ControlSpec spec, WindowFonts& fonts) {
    const bool firstOption =
        spec.kind == ControlKind::OptionButton &&
        (built.empty() || std::string_view(built.back().spec.name) != spec.name);
    const NativeKind kind = nativeKind(spec, firstOption);
    const int id = kFirstControlId + static_cast<int>(built.size());
    const std::wstring caption = spec.kind == ControlKind::TextField ? L"" : toWide(spec.caption);
    HWND control = ::CreateWindowExW(
        kind.exStyle, kind.className, caption.c_str(),
        WS_CHILD | kind.style | (spec.visible ? WS_VISIBLE : 0u), 0, 0, 0, 0, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ::GetModuleHandleW(nullptr), nullptr);
    ::SendMessageW(control, WM_SETFONT,
                   reinterpret_cast<WPARAM>(fonts.font(spec.bold, spec.largerType)), FALSE);
    switch (spec.kind) {
    case ControlKind::OptionButton:
    case ControlKind::CheckBox:
        ::SendMessageW(control, BM_SETCHECK, spec.checked ? BST_CHECKED : BST_UNCHECKED, 0);
        break;
    case ControlKind::ReportList: {
        ListView_SetExtendedListViewStyle(control, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
        int column = 0;
        for (const ListColumn& described : spec.columns) {
            std::wstring header = toWide(described.caption);
            LVCOLUMNW item{};
            item.mask = LVCF_TEXT | LVCF_SUBITEM;
            item.pszText = header.data();
            item.iSubItem = column;
            ::SendMessageW(control, LVM_INSERTCOLUMNW, column++, reinterpret_cast<LPARAM>(&item));
        }
        break;
    }
    case ControlKind::DateField:
        ::SendMessageW(control, DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(L"dd/MM/yyyy"));
        break;
    case ControlKind::LinesView:
        ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(fonts.fixedWidth()), FALSE);
        break;
    default:
        break;
    }
    built.push_back({std::move(spec), control});
}

void NativeControls::place(int dpi, WindowFonts& fonts) {
    for (Built& each : built) {
        const ControlSpec& spec = each.spec;
        HFONT font = spec.kind == ControlKind::LinesView ? fonts.fixedWidth()
                                                         : fonts.font(spec.bold, spec.largerType);
        ::SendMessageW(each.handle, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        // Each length rounds on its own, as the container's and the control's do in Qt.
        int left = pixels(spec.place.left, dpi);
        int top = pixels(spec.place.top, dpi);
        if (spec.container >= 0) {
            left += pixels(built[spec.container].spec.place.left, dpi);
            top += pixels(built[spec.container].spec.place.top, dpi);
        }
        int width = pixels(spec.place.width, dpi);
        int height = pixels(spec.place.height, dpi);
        if (widensToFitCaption(spec)) {
            const int wanted = captionWidth(each.handle, spec, font, dpi);
            if (wanted > width) {
                if (spec.alignment == TextAlignment::Right) {
                    left -= wanted - width;
                }
                width = wanted;
            }
        }
        if (spec.kind == ControlKind::DropDown || spec.kind == ControlKind::ComboField) {
            height += pixels(kDropDownListTwips, dpi);
        }
        ::SetWindowPos(each.handle, nullptr, left, top, width, height,
                       SWP_NOZORDER | SWP_NOACTIVATE);
        if (spec.kind == ControlKind::ReportList) {
            for (size_t column = 0; column < spec.columns.size(); ++column) {
                const int twips = spec.columns[column].width;
                const bool last = column + 1 == spec.columns.size();
                ListView_SetColumnWidth(each.handle, static_cast<int>(column),
                                        twips > 0 ? pixels(twips, dpi)
                                        : last    ? LVSCW_AUTOSIZE_USEHEADER
                                                  : LVSCW_AUTOSIZE);
            }
        }
    }
    // The frames lie under the controls they hold, and draw nothing over them.
    for (Built& each : built) {
        if (each.spec.kind == ControlKind::GroupBox) {
            ::SetWindowLongPtrW(each.handle, GWL_STYLE,
                                ::GetWindowLongPtrW(each.handle, GWL_STYLE) | WS_CLIPSIBLINGS);
            ::SetWindowPos(each.handle, HWND_BOTTOM, 0, 0, 0, 0,
                           SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
    }
}

HWND NativeControls::find(std::string_view name, int index) const {
    for (const Built& each : built) {
        if (each.spec.index == index && name == each.spec.name) {
            return each.handle;
        }
    }
    return nullptr;
}

const ControlSpec* NativeControls::specOf(HWND control) const {
    for (const Built& each : built) {
        if (each.handle == control) {
            return &each.spec;
        }
    }
    return nullptr;
}

} // namespace quorel
