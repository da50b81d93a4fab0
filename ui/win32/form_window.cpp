#include "ui/win32/form_window.h"

#include "platform/windows/wide_text.h"
#include "ui/win32/control_text.h"
#include "ui/win32/pixels.h"

#include <windowsx.h>

namespace quorel {

namespace {

// An action that waits until the click or key that made it is over.
constexpr UINT kInputLater = WM_APP + 1;
// A combo field puts the line picked in its field only after it told the pick: what the form
// shows there is drawn once it has.
constexpr UINT kComboPicked = WM_APP + 2;

bool isDown(int key) {
    return (::GetKeyState(key) & 0x8000) != 0;
}

std::optional<size_t> rowOf(LRESULT row) {
    return row >= 0 ? std::optional<size_t>(static_cast<size_t>(row)) : std::nullopt;
}

} // namespace

FormWindow::~FormWindow() {
    bind(nullptr);
    if (window_ != nullptr) {
        for (const NativeControls::Built& each : controls_.built) {
            if (each.control->kind == ControlKind::ReportList) {
                ::RemoveWindowSubclass(each.handle, listProcedure, 1);
            }
        }
        ::SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        ::DestroyWindow(window_);
        window_ = nullptr;
    }
    // The menu bar's menus went with the window.
    for (size_t i = 0; i < menus_.size(); ++i) {
        if (!description_->menus[i].onMenuBar) {
            ::DestroyMenu(menus_[i]);
        }
    }
    for (auto& [colour, brush] : brushes_) {
        ::DeleteObject(brush);
    }
}

void FormWindow::open(const FormDescription& window, HWND owner, Frame frame) {
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES |
                                                     ICC_STANDARD_CLASSES | ICC_DATE_CLASSES};
    ::InitCommonControlsEx(&classes);
    description_ = &window;
    owner_ = owner;
    frame_ = frame;
    buildMenus();
    // Without WS_CLIPCHILDREN: the window paints the inside of its group boxes, which paint only
    // their frames.
    const bool dialog = frame == Frame::Dialog;
    const int dpi = windowDpi(owner);
    createWindow(toWide(window.title).c_str(),
                 dialog ? WS_POPUP | WS_CAPTION | WS_SYSMENU : WS_OVERLAPPEDWINDOW,
                 dialog ? WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT : WS_EX_CONTROLPARENT, owner,
                 {pixels(window.clientWidth, dpi), pixels(window.clientHeight, dpi)}, menuBar_);
    fonts_.reset(window.typeHeight, windowDpi(window_));
    controls_.build(window_, window, fonts_);
    shown_.assign(controls_.built.size(), std::nullopt);
    tips_.create(window_);
    addToolTips();
    for (const NativeControls::Built& each : controls_.built) {
        if (each.control->kind == ControlKind::ReportList) {
            ::SetWindowSubclass(each.handle, listProcedure, 1, reinterpret_cast<DWORD_PTR>(this));
        }
    }
    layOut(windowDpi(window_));
    if (dialog) {
        centreOverOwner();
    }
}

void FormWindow::bind(Form* form) {
    bindRenderer(form_, form, [this] { drawAll(); });
    if (form_ != nullptr) {
        drawAll();
    }
}

void FormWindow::runModal() {
    if (!ended_) {
        quorel::runModal(window_, owner_, ended_);
    }
}

void FormWindow::buildMenus() {
    const FormDescription& window = *description_;
    for (const MenuDescription<int, int>& menu : window.menus) {
        HMENU built = ::CreatePopupMenu();
        menus_.push_back(built);
        if (menu.onMenuBar) {
            if (menuBar_ == nullptr) {
                menuBar_ = ::CreateMenu();
            }
            ::AppendMenuW(menuBar_, MF_POPUP, reinterpret_cast<UINT_PTR>(built),
                          toWide(menu.caption).c_str());
        }
    }
    for (const FormMenuItem& item : menuItems(window)) {
        items_.push_back({item, menus_[static_cast<size_t>(item.menu - window.menus.data())]});
    }
    for (HMENU each : menus_) {
        rebuildMenu(each);
    }
}

void FormWindow::addToolTips() {
    for (const NativeControls::Built& each : controls_.built) {
        if (each.control->kind == ControlKind::ReportList) {
            tips_.addAsked(each.handle); // the tip of the row under the pointer
        } else if (*each.control->toolTip != '\0' || each.control->content) {
            tips_.add(each.handle, each.control->toolTip);
        }
    }
}

void FormWindow::layOut(int dpi) {
    fonts_.reset(description_->typeHeight, dpi);
    controls_.place(dpi, fonts_);
    for (size_t i = 0; i < shown_.size(); ++i) {
        if (shown_[i] && controlAt(i).clipsText) {
            fitType(i, shown_[i]->text);
        }
    }
    ::InvalidateRect(window_, nullptr, TRUE);
}

void FormWindow::centreOverOwner() {
    RECT over{};
    if (owner_ == nullptr || ::IsWindowVisible(owner_) == FALSE) {
        ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &over, 0);
    } else {
        ::GetWindowRect(owner_, &over);
    }
    RECT own{};
    ::GetWindowRect(window_, &own);
    const int width = own.right - own.left;
    const int height = own.bottom - own.top;
    ::SetWindowPos(window_, nullptr, over.left + (over.right - over.left - width) / 2,
                   over.top + (over.bottom - over.top - height) / 2, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

const NativeControls::Control& FormWindow::controlAt(size_t position) const {
    return *controls_.built[position].control;
}

HWND FormWindow::control(std::string_view name, int index) const {
    return controls_.find(name, index);
}

UINT FormWindow::menuCommand(std::string_view name, int index) const {
    for (size_t i = 0; i < items_.size(); ++i) {
        const auto& item = *items_[i].described.item;
        if (item.index == index && name == item.name) {
            return kFirstMenuCommand + static_cast<UINT>(i);
        }
    }
    return 0;
}

HMENU FormWindow::popUpMenu(std::string_view name) const {
    const auto& menus = description_->menus;
    for (size_t i = 0; i < menus.size(); ++i) {
        if (!menus[i].onMenuBar && name == menus[i].name) {
            return menus_[i];
        }
    }
    return nullptr;
}

void FormWindow::popUp(std::string_view menu) {
    POINT pointer{};
    ::GetCursorPos(&pointer);
    ::SetForegroundWindow(window_);
    const auto command = static_cast<UINT>(::TrackPopupMenu(
        popUpMenu(menu), TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, pointer.x,
        pointer.y, 0, window_, nullptr));
    ::PostMessageW(window_, WM_NULL, 0, 0);
    if (command != 0) {
        menuCommand(command);
    }
}

void FormWindow::raise(const ControlInput& input) {
    if (form_ == nullptr || ended_ || drawing_ > 0) {
        return;
    }
    noteShown(input);
    if (form_->waitsForInputEnd(input)) {
        later_.push_back(input);
        ::PostMessageW(window_, kInputLater, 0, 0);
        return;
    }
    hand(input);
}

void FormWindow::hand(const ControlInput& input) {
    form_->raise(input);
    if (form_->ended()) {
        ended_ = true;
        return;
    }
    drawAll();
}

// What the operator changed shows already: a value the form keeps differs from it, and is drawn.
void FormWindow::noteShown(const ControlInput& input) {
    if (input.menuItem || !shown_[input.control]) {
        return;
    }
    ControlValue& shown = *shown_[input.control];
    const NativeControls::Control& control = controlAt(input.control);
    switch (input.action) {
    case Action::Edit:
        if (control.kind == ControlKind::DateField) {
            shown.date = input.date;
        } else {
            shown.text = input.text;
        }
        break;
    case Action::Pick:
        shown.selected = input.row;
        break;
    case Action::Click:
        if (control.kind == ControlKind::CheckBox) {
            shown.check = input.check;
        } else if (control.kind == ControlKind::OptionButton) {
            // The options of one name clear each other.
            for (size_t i = 0; i < shown_.size(); ++i) {
                if (shown_[i] && std::string_view(controlAt(i).name) == control.name) {
                    shown_[i]->check =
                        i == input.control ? CheckState::Checked : CheckState::Unchecked;
                }
            }
        }
        break;
    default:
        break;
    }
}

void FormWindow::cancel() {
    const char* button = description_->cancelButton;
    if (const auto position = button ? controls_.positionOf(control(button)) : std::nullopt) {
        raise({.control = *position});
    }
}

void FormWindow::controlCommand(HWND handle, UINT code) {
    const std::optional<size_t> position = controls_.positionOf(handle);
    if (!position || controlAt(*position).events.empty() || drawing_ > 0) {
        return;
    }
    ControlInput input{.control = *position};
    switch (controlAt(*position).kind) {
    case ControlKind::PushButton:
        if (code != BN_CLICKED) {
            return;
        }
        break;
    case ControlKind::OptionButton:
        if (code != BN_CLICKED) {
            return;
        }
        input.check = CheckState::Checked;
        break;
    case ControlKind::CheckBox: {
        if (code != BN_CLICKED) {
            return;
        }
        // The box does not check itself: it shows its new state, as a clicked box does.
        const bool wasChecked = ::SendMessageW(handle, BM_GETCHECK, 0, 0) == BST_CHECKED;
        input.check = wasChecked ? CheckState::Unchecked : CheckState::Checked;
        ::SendMessageW(handle, BM_SETCHECK, buttonCheck(input.check), 0);
        break;
    }
    case ControlKind::TextField:
        if (code != EN_CHANGE) {
            return;
        }
        input.action = Action::Edit;
        input.text = textOf(handle);
        break;
    case ControlKind::ComboField:
    case ControlKind::DropDown:
        if (code == CBN_EDITCHANGE) {
            input.action = Action::Edit;
            input.text = textOf(handle);
        } else if (code == CBN_SELCHANGE) {
            input.action = Action::Pick;
            input.row = rowOf(::SendMessageW(handle, CB_GETCURSEL, 0, 0));
            if (controlAt(*position).kind == ControlKind::ComboField) {
                ::PostMessageW(window_, kComboPicked, *position, 0);
            }
        } else {
            return;
        }
        break;
    case ControlKind::ListBox:
        if (code != LBN_SELCHANGE) {
            return;
        }
        input.action = Action::Pick;
        input.row = rowOf(::SendMessageW(handle, LB_GETCURSEL, 0, 0));
        break;
    default:
        return;
    }
    raise(input);
}

void FormWindow::menuCommand(UINT command) {
    if (command >= kFirstMenuCommand && command - kFirstMenuCommand < items_.size() &&
        !items_[command - kFirstMenuCommand].described.item->events.empty()) {
        raise({.control = command - kFirstMenuCommand, .menuItem = true});
    }
}

LRESULT FormWindow::notification(NMHDR* header) {
    if (header->code == TTN_GETDISPINFOW) {
        const auto tool = controls_.positionOf(reinterpret_cast<HWND>(header->idFrom));
        if (tool && controlAt(*tool).kind == ControlKind::ReportList) {
            LVHITTESTINFO hit{};
            ::GetCursorPos(&hit.pt);
            ::ScreenToClient(controls_.built[*tool].handle, &hit.pt);
            askedTip_ = toWide(
                rowToolTip(*tool, ListView_SubItemHitTest(controls_.built[*tool].handle, &hit)));
            reinterpret_cast<NMTTDISPINFOW*>(header)->lpszText = askedTip_.data();
        }
        return 0;
    }
    const std::optional<size_t> position = controls_.positionOf(header->hwndFrom);
    if (!position) {
        return 0;
    }
    const NativeControls::Control& control = controlAt(*position);
    if (control.kind == ControlKind::ReportList) {
        return listNotification(*position, header);
    }
    if (control.kind == ControlKind::DateField && header->code == DTN_DATETIMECHANGE &&
        !control.events.empty() && drawing_ == 0) {
        raise({.control = *position, .action = Action::Edit, .date = dateIn(header->hwndFrom)});
    }
    return 0;
}

LRESULT FormWindow::listNotification(size_t position, NMHDR* header) {
    if (header->code == NM_CUSTOMDRAW) {
        return drawRow(position, reinterpret_cast<NMLVCUSTOMDRAW*>(header));
    }
    if (header->code == LVN_GETINFOTIPW) {
        // The list's own tip of a row, where it asks for one, is the row's tool tip too.
        auto* tip = reinterpret_cast<NMLVGETINFOTIPW*>(header);
        const std::wstring text = toWide(rowToolTip(position, tip->iItem));
        if (!text.empty() && tip->cchTextMax > 0) {
            lstrcpynW(tip->pszText, text.c_str(), tip->cchTextMax);
        }
        return 0;
    }
    if (controlAt(position).events.empty() || drawing_ > 0) {
        return 0;
    }
    switch (header->code) {
    case LVN_ITEMCHANGED: {
        const auto* change = reinterpret_cast<NMLISTVIEW*>(header);
        if ((change->uChanged & LVIF_STATE) != 0 &&
            ((change->uNewState ^ change->uOldState) & LVIS_SELECTED) != 0) {
            raise({.control = position,
                   .action = Action::Pick,
                   .row = rowOf(ListView_GetNextItem(header->hwndFrom, -1, LVNI_SELECTED))});
        }
        break;
    }
    case NM_CLICK:
        raise({.control = position});
        break;
    case LVN_COLUMNCLICK:
        raise({.control = position,
               .action = Action::HeaderClick,
               .row = static_cast<size_t>(reinterpret_cast<NMLISTVIEW*>(header)->iSubItem)});
        break;
    default:
        break;
    }
    return 0;
}

LRESULT CALLBACK FormWindow::listProcedure(HWND list, UINT message, WPARAM wParam, LPARAM lParam,
                                           UINT_PTR, DWORD_PTR self) {
    auto* window = reinterpret_cast<FormWindow*>(self);
    if (message == WM_KEYUP) {
        const auto position = window->controls_.positionOf(list);
        if (position && !window->controlAt(*position).events.empty()) {
            window->raise({.control = *position,
                           .action = Action::KeyRelease,
                           .key = {wParam == VK_DELETE ? ListKey::Delete : ListKey::Other,
                                   {.shift = isDown(VK_SHIFT),
                                    .control = isDown(VK_CONTROL),
                                    .alt = isDown(VK_MENU)}}});
        }
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

LRESULT FormWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (lParam != 0) {
            controlCommand(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
        } else if (LOWORD(wParam) == IDCANCEL) { // Escape
            cancel();
        } else if (HIWORD(wParam) == 0) {
            menuCommand(LOWORD(wParam));
        }
        return 0;
    case WM_NOTIFY:
        return notification(reinterpret_cast<NMHDR*>(lParam));
    case WM_CTLCOLORSTATIC:
        return colourStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_DRAWITEM:
        drawColouredButton(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case kInputLater:
        if (!later_.empty()) {
            const ControlInput input = later_.front();
            later_.pop_front();
            if (form_ != nullptr && !ended_) {
                hand(input);
            }
        }
        return 0;
    case kComboPicked:
        if (form_ != nullptr && wParam < shown_.size() && shown_[wParam]) {
            shown_[wParam]->text = textOf(controls_.built[wParam].handle);
            drawControl(wParam);
        }
        return 0;
    case WM_CLOSE:
        if (frame_ == Frame::Dialog) {
            cancel();
            return 0;
        }
        break;
    default:
        break;
    }
    return NativeWindow::handleMessage(message, wParam, lParam);
}

} // namespace quorel
