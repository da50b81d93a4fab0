#include "ui/win32/win32_main_window.h"

#include "platform/windows/wide_text.h"
#include "ui/main_window_description.h"
#include "ui/win32/colours.h"
#include "ui/win32/control_text.h"
#include "ui/win32/days_without_bells_window.h"
#include "ui/win32/journal_window.h"
#include "ui/win32/pixels.h"
#include "ui/win32/ports_window.h"
#include "ui/win32/special_timetables_window.h"

#include <cmath>
#include <commctrl.h>
#include <windowsx.h>

namespace quorel {

namespace {

constexpr UINT kFirstMenuCommand = 1000;
// A day chosen with unsaved edits: its question waits until the click that chose it is over.
constexpr UINT kDayChosenLater = WM_APP + 1;
// Without WS_CLIPCHILDREN: the window paints the inside of its group boxes, which paint only
// their frames.
constexpr DWORD kWindowStyle = WS_OVERLAPPEDWINDOW;

const MainWindowDescription& described() {
    return mainWindowDescription();
}

bool isDown(int key) {
    return (::GetKeyState(key) & 0x8000) != 0;
}

// The notification of a native control that raises each event.
bool raisedBy(WindowEvent event, UINT code) {
    switch (event) {
    case WindowEvent::EntryFieldEdited:
    case WindowEvent::SeriesOffsetEdited:
    case WindowEvent::SeriesDurationEdited:
        return code == EN_CHANGE;
    case WindowEvent::SeriesOutputChosen:
        return code == CBN_SELCHANGE;
    case WindowEvent::DayChosen:
        return code == LBN_SELCHANGE;
    default:
        return code == BN_CLICKED;
    }
}

// The text of a drop-down's chosen item.
std::string chosenText(HWND dropDown) {
    const LRESULT chosen = ::SendMessageW(dropDown, CB_GETCURSEL, 0, 0);
    if (chosen == CB_ERR) {
        return {};
    }
    std::wstring text(static_cast<size_t>(::SendMessageW(dropDown, CB_GETLBTEXTLEN, chosen, 0)) + 1,
                      L'\0');
    ::SendMessageW(dropDown, CB_GETLBTEXT, chosen, reinterpret_cast<LPARAM>(text.data()));
    text.resize(wcslen(text.c_str()));
    return fromWide(text);
}

} // namespace

Win32MainWindow::Win32MainWindow() {
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES |
                                                     ICC_STANDARD_CLASSES | ICC_DATE_CLASSES};
    ::InitCommonControlsEx(&classes);
    buildMenus();
    const int dpi = windowDpi(nullptr);
    createWindow(toWide(described().title).c_str(), kWindowStyle, WS_EX_CONTROLPARENT, nullptr,
                 {pixels(described().clientWidth, dpi), pixels(described().clientHeight, dpi)},
                 menuBar_);
    fonts_.reset(described().typeHeight, windowDpi(window_));
    controls_.build(window_, plain_, fonts_);
    tips_.create(window_);
    addToolTips();
    ::SetWindowSubclass(control("Quorel"), listProcedure, 1, reinterpret_cast<DWORD_PTR>(this));
    layOut(windowDpi(window_));
}

Win32MainWindow::~Win32MainWindow() {
    if (window_ != nullptr) {
        ::RemoveWindowSubclass(control("Quorel"), listProcedure, 1);
        ::DestroyWindow(window_);
        window_ = nullptr;
    }
    if (dayMenu_ != nullptr) {
        ::DestroyMenu(dayMenu_);
    }
    for (auto& [colour, brush] : brushes_) {
        ::DeleteObject(brush);
    }
}

void Win32MainWindow::buildMenus() {
    menuBar_ = ::CreateMenu();
    for (const auto& menu : described().menus) {
        HMENU built = ::CreatePopupMenu();
        for (const auto& item : menu.items) {
            // The items whose caption the day list gives are put in by showDays().
            if (item.content != ViewPart::Days) {
                ::AppendMenuW(built, MF_STRING, kFirstMenuCommand + menuItems_.size(),
                              toWide(item.caption).c_str());
            }
            menuItems_.push_back({&item, built});
        }
        if (menu.onMenuBar) {
            ::AppendMenuW(menuBar_, MF_POPUP, reinterpret_cast<UINT_PTR>(built),
                          toWide(menu.caption).c_str());
        } else {
            dayMenu_ = built;
        }
    }
}

void Win32MainWindow::addToolTips() {
    for (const NativeControls::Built& each : controls_.built) {
        const MainWindowControl* control =
            described().control(each.control->name, each.control->index);
        if (control->content == ViewPart::List) {
            tips_.addAsked(each.handle); // the tip of the row under the pointer
        } else if (*control->toolTip != '\0' || control->content == ViewPart::Status ||
                   control->content == ViewPart::NextBell || control->content == ViewPart::Clock) {
            tips_.add(each.handle, control->toolTip);
        }
    }
}

void Win32MainWindow::layOut(int dpi) {
    fonts_.reset(described().typeHeight, dpi);
    controls_.place(dpi, fonts_);
    ::InvalidateRect(window_, nullptr, TRUE);
}

void Win32MainWindow::attach(Program& program) {
    program_ = &program;
    for (ViewPart part : {ViewPart::Clock, ViewPart::Outputs, ViewPart::Status,
                          ViewPart::PortChoice, ViewPart::RelayButtons, ViewPart::List,
                          ViewPart::EditFields, ViewPart::Days, ViewPart::AutoRun}) {
        redraw(part);
    }
}

void Win32MainWindow::detach() {
    program_ = nullptr;
}

void Win32MainWindow::show() {
    ::ShowWindow(window_, SW_SHOW);
    ::UpdateWindow(window_);
}

HWND Win32MainWindow::control(std::string_view name, int index) const {
    return controls_.find(name, index);
}

UINT Win32MainWindow::menuCommand(std::string_view name, int index) const {
    for (size_t i = 0; i < menuItems_.size(); ++i) {
        if (menuItems_[i].item->index == index && name == menuItems_[i].item->name) {
            return kFirstMenuCommand + static_cast<UINT>(i);
        }
    }
    return 0;
}

std::optional<COLORREF> Win32MainWindow::fillOf(HWND control) const {
    const auto found = fills_.find(control);
    return found == fills_.end() ? std::nullopt : std::optional(found->second.background);
}

void Win32MainWindow::setFill(HWND control, std::optional<Fill> fill) {
    const auto found = fills_.find(control);
    const bool same = fill
                          ? found != fills_.end() && found->second.background == fill->background &&
                                found->second.text == fill->text
                          : found == fills_.end();
    if (same) {
        return; // indicators are redrawn each second while an output is on
    }
    if (fill) {
        fills_[control] = *fill;
    } else {
        fills_.erase(found);
    }
    ::InvalidateRect(control, nullptr, TRUE);
}

HBRUSH Win32MainWindow::brushOf(COLORREF colour) {
    HBRUSH& brush = brushes_[colour];
    if (brush == nullptr) {
        brush = ::CreateSolidBrush(colour);
    }
    return brush;
}

void Win32MainWindow::editSpecialTimetables() {
    SpecialTimetablesOnScreen screen(window_);
    quorel::editSpecialTimetables(*program_, screen);
}

void Win32MainWindow::editPorts() {
    PortsOnScreen screen(window_);
    quorel::editPorts(*program_, screen);
}

void Win32MainWindow::editDaysWithoutBells() {
    DaysWithoutBellsOnScreen screen(window_);
    quorel::editDaysWithoutBells(*program_, screen);
}

void Win32MainWindow::showJournal() {
    JournalOnScreen screen(window_);
    quorel::showJournal(*program_, screen);
}

void Win32MainWindow::controlCommand(HWND control, UINT code) {
    const auto position = controls_.positionOf(control);
    if (!position || quiet_ > 0) {
        return;
    }
    const MainWindowControl* described = &mainWindowDescription().controls[*position];
    for (WindowEvent event : described->events) {
        if (!raisedBy(event, code)) {
            continue;
        }
        WindowInput input{.event = event, .index = described->index};
        switch (event) {
        case WindowEvent::OutputSwitchClicked: {
            // The box does not check itself: it shows its new state, as a clicked box does.
            const bool wasChecked = ::SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
            input.check = wasChecked ? CheckState::Unchecked : CheckState::Checked;
            ::SendMessageW(control, BM_SETCHECK, buttonCheck(input.check), 0);
            break;
        }
        case WindowEvent::EntryFieldEdited:
        case WindowEvent::SeriesOffsetEdited:
        case WindowEvent::SeriesDurationEdited:
            input.text = textOf(control);
            break;
        case WindowEvent::SeriesOutputChosen:
            input.text = chosenText(control);
            break;
        case WindowEvent::DayChosen: {
            const auto row = static_cast<int>(::SendMessageW(control, LB_GETCURSEL, 0, 0));
            if (row < 0) {
                return;
            }
            if (program_ != nullptr && program_->days.modified()) {
                ::PostMessageW(window_, kDayChosenLater, static_cast<WPARAM>(row), 0);
                return;
            }
            input.position = row;
            break;
        }
        default:
            break;
        }
        forward(input);
        return;
    }
}

void Win32MainWindow::menuCommand(UINT command) {
    if (command < kFirstMenuCommand || command - kFirstMenuCommand >= menuItems_.size()) {
        return;
    }
    const auto& item = *menuItems_[command - kFirstMenuCommand].item;
    for (WindowEvent event : item.events) {
        forward({.event = event, .index = item.index});
    }
    if (item.checkable && item.content && program_ != nullptr) {
        redraw(*item.content);
    }
}

void Win32MainWindow::dayChosen(int row) {
    if (program_ != nullptr && !program_->ended()) {
        forward({.event = WindowEvent::DayChosen, .position = row});
    }
}

void Win32MainWindow::keyReleased(WPARAM key) {
    forward(
        {.event = WindowEvent::ListKeyReleased,
         .key = KeyRelease{
             key == VK_DELETE ? ListKey::Delete : ListKey::Other,
             {.shift = isDown(VK_SHIFT), .control = isDown(VK_CONTROL), .alt = isDown(VK_MENU)}}});
}

void Win32MainWindow::showCopyMenu() {
    // The menu is modal, as a pop-up menu is: the picked day loads before the click returns.
    POINT pointer{};
    ::GetCursorPos(&pointer);
    ::SetForegroundWindow(window_);
    const auto command = static_cast<UINT>(
        ::TrackPopupMenu(dayMenu_, TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON,
                         pointer.x, pointer.y, 0, window_, nullptr));
    ::PostMessageW(window_, WM_NULL, 0, 0);
    if (command != 0) {
        menuCommand(command);
    }
}

LRESULT Win32MainWindow::listNotification(NMHDR* header) {
    HWND list = header->hwndFrom;
    switch (header->code) {
    case NM_CUSTOMDRAW:
        return listCustomDraw(reinterpret_cast<NMLVCUSTOMDRAW*>(header));
    case LVN_ITEMCHANGED: {
        const auto* change = reinterpret_cast<NMLISTVIEW*>(header);
        if (quiet_ == 0 && (change->uChanged & LVIF_STATE) != 0 &&
            ((change->uNewState ^ change->uOldState) & LVIS_SELECTED) != 0) {
            const int selected = ListView_GetNextItem(list, -1, LVNI_SELECTED);
            forward({.event = WindowEvent::RowChosen, .position = selected + 1});
        }
        break;
    }
    case NM_CLICK:
        forward({.event = WindowEvent::ListClicked});
        break;
    case LVN_COLUMNCLICK:
        forward({.event = WindowEvent::ColumnClicked,
                 .position = reinterpret_cast<NMLISTVIEW*>(header)->iSubItem + 1});
        break;
    default:
        break;
    }
    return 0;
}

LRESULT Win32MainWindow::listCustomDraw(NMLVCUSTOMDRAW* draw) const {
    switch (draw->nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT: {
        const size_t row = draw->nmcd.dwItemSpec;
        if (row < warnings_.size() && warnings_[row] != RowWarning::None) {
            draw->clrText = warningTextColour();
            draw->clrTextBk = warningBackgroundColour();
            return CDRF_NEWFONT;
        }
        return CDRF_DODEFAULT;
    }
    default:
        return CDRF_DODEFAULT;
    }
}

std::string Win32MainWindow::listToolTip() const {
    HWND list = control("Quorel");
    LVHITTESTINFO hit{};
    ::GetCursorPos(&hit.pt);
    ::ScreenToClient(list, &hit.pt);
    const int row = ListView_SubItemHitTest(list, &hit);
    if (row < 0 || static_cast<size_t>(row) >= warnings_.size()) {
        return {};
    }
    return rowWarningToolTip(warnings_[row]);
}

LRESULT CALLBACK Win32MainWindow::listProcedure(HWND list, UINT message, WPARAM wParam,
                                                LPARAM lParam, UINT_PTR, DWORD_PTR self) {
    auto* window = reinterpret_cast<Win32MainWindow*>(self);
    if (message == WM_KEYUP) {
        window->keyReleased(wParam);
    } else if (message == WM_MOUSEMOVE) {
        LVHITTESTINFO hit{};
        hit.pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        const int row = ListView_HitTest(list, &hit);
        if (row != window->hoveredRow_) {
            window->hoveredRow_ = row;
            window->tips_.pop(); // the next row's tip asks its own text
        }
    }
    return ::DefSubclassProc(list, message, wParam, lParam);
}

LRESULT Win32MainWindow::colourStatic(HDC dc, HWND control) {
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

void Win32MainWindow::drawColouredButton(const DRAWITEMSTRUCT& draw) const {
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
    const int length = ::GetWindowTextLengthW(draw.hwndItem);
    std::wstring caption(static_cast<size_t>(length) + 1, L'\0');
    ::GetWindowTextW(draw.hwndItem, caption.data(), length + 1);
    ::SetBkMode(draw.hDC, TRANSPARENT);
    ::SetTextColor(draw.hDC, ::GetSysColor((draw.itemState & ODS_DISABLED) != 0 ? COLOR_GRAYTEXT
                                                                                : COLOR_BTNTEXT));
    if (pushed) {
        ::OffsetRect(&place, 1, 1);
    }
    ::DrawTextW(draw.hDC, caption.c_str(), length, &place,
                DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    if ((draw.itemState & ODS_FOCUS) != 0) {
        RECT focus = draw.rcItem;
        ::InflateRect(&focus, -4, -4);
        ::DrawFocusRect(draw.hDC, &focus);
    }
}

void Win32MainWindow::resized(WPARAM kind) {
    if (program_ == nullptr || applyingResizeRule_ || kind == SIZE_MINIMIZED) {
        return;
    }
    const bool normal =
        kind != SIZE_MAXIMIZED && ::IsIconic(window_) == FALSE && ::IsZoomed(window_) == FALSE;
    const auto wanted = program_->Form_Resize(normal, outerSize());
    if (wanted) {
        const int dpi = windowDpi(window_);
        applyingResizeRule_ = true;
        ::SetWindowPos(window_, nullptr, 0, 0,
                       static_cast<int>(std::lround(wanted->width * dpi / 1440)),
                       static_cast<int>(std::lround(wanted->height * dpi / 1440)),
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        applyingResizeRule_ = false;
    }
}

// The whole window, its title bar and borders included: Windows draws them itself, so their
// size is known before the window shows.
TwipsSize Win32MainWindow::outerSize() {
    RECT outer{};
    ::GetWindowRect(window_, &outer);
    const int dpi = windowDpi(window_);
    return TwipsSize{twipsOf(outer.right - outer.left, dpi),
                     twipsOf(outer.bottom - outer.top, dpi)};
}

TwipsSize Win32MainWindow::screenSize() {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    ::GetMonitorInfoW(::MonitorFromWindow(window_, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const int dpi = windowDpi(window_);
    return TwipsSize{twipsOf(monitor.rcMonitor.right - monitor.rcMonitor.left, dpi),
                     twipsOf(monitor.rcMonitor.bottom - monitor.rcMonitor.top, dpi)};
}

// A place on the window's monitor.
void Win32MainWindow::moveTo(TwipsPoint position) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    ::GetMonitorInfoW(::MonitorFromWindow(window_, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const int dpi = windowDpi(window_);
    ::SetWindowPos(window_, nullptr,
                   monitor.rcMonitor.left + static_cast<int>(position.left * dpi / 1440),
                   monitor.rcMonitor.top + static_cast<int>(position.top * dpi / 1440), 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32MainWindow::closeFor(ShutdownCause cause) {
    if (program_ != nullptr && program_->requestClose(cause) == CloseOutcome::End) {
        ::ShowWindow(window_, SW_HIDE);
        end();
    }
}

void Win32MainWindow::end() {
    if (!endAnnounced_ && onEnded) {
        endAnnounced_ = true;
        onEnded();
    }
}

LRESULT Win32MainWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (lParam != 0) {
            controlCommand(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
        } else if (HIWORD(wParam) == 0) {
            menuCommand(LOWORD(wParam));
        }
        return 0;
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (header->code == TTN_GETDISPINFOW &&
            reinterpret_cast<HWND>(header->idFrom) == control("Quorel")) {
            askedTip_ = toWide(listToolTip());
            reinterpret_cast<NMTTDISPINFOW*>(header)->lpszText = askedTip_.data();
            return 0;
        }
        if (header->hwndFrom == control("Quorel")) {
            return listNotification(header);
        }
        return 0;
    }
    case WM_CTLCOLORSTATIC:
        return colourStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_DRAWITEM:
        drawColouredButton(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_SIZE:
        resized(wParam);
        return 0;
    case WM_DPICHANGED: {
        layOut(HIWORD(wParam));
        const RECT* suggested = reinterpret_cast<RECT*>(lParam);
        ::SetWindowPos(window_, nullptr, suggested->left, suggested->top,
                       suggested->right - suggested->left, suggested->bottom - suggested->top,
                       SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    case kDayChosenLater:
        dayChosen(static_cast<int>(wParam));
        return 0;
    case WM_CLOSE:
        if (program_ != nullptr && !program_->ended()) {
            if (program_->requestClose(ShutdownCause::WindowClosed) == CloseOutcome::StayOpen) {
                return 0; // the operator keeps the window, to go on editing
            }
            end();
        }
        ::ShowWindow(window_, SW_HIDE);
        return 0;
    case WM_QUERYENDSESSION:
        return TRUE;
    case WM_ENDSESSION:
        // Windows ends the process once this returns: the shut-down runs now, asking nothing.
        if (wParam != FALSE) {
            if (onSessionEnding) {
                onSessionEnding();
            }
            closeFor(ShutdownCause::Signal);
        }
        return 0;
    default:
        return NativeWindow::handleMessage(message, wParam, lParam);
    }
}

} // namespace quorel
