#include "ui/win32/ports_window.h"

#include "ui/win32/control_text.h"

namespace quorel {

namespace {

using Event = PortsEvent;

// A drop-down puts the chosen line in its field only after it told its choice: the form's device
// for that line is shown once it has.
constexpr UINT kShowFormLater = WM_APP + 1;

bool raisedBy(Event event, UINT code) {
    switch (event) {
    case Event::DeviceEdited:
        return code == CBN_EDITCHANGE;
    case Event::DeviceChosen:
        return code == CBN_SELCHANGE;
    default:
        return code == BN_CLICKED;
    }
}

} // namespace

PortsWindow::PortsWindow(PortsForm& form, HWND owner) : form_(form) {
    open(owner, portsDescription());
    showForm();
}

void PortsWindow::raise(Event event, HWND source, int option) {
    switch (event) {
    case Event::DeviceEdited:
        form_.setDevice(option, textOf(source));
        return;
    case Event::DeviceChosen: {
        const LRESULT choice = ::SendMessageW(source, CB_GETCURSEL, 0, 0);
        if (choice != CB_ERR) {
            form_.chooseDevice(option, static_cast<size_t>(choice));
            ::PostMessageW(window_, kShowFormLater, 0, 0);
        }
        return;
    }
    default:
        if (event == Event::DetectClicked) {
            // Nothing found yet while the module is looked for.
            setText(control("LblDetection"), "");
        }
        form_.click(event);
        break;
    }
    if (form_.ended()) {
        done_ = true;
        return;
    }
    showForm();
}

void PortsWindow::showForm() {
    const Quiet quiet(quiet_);
    const std::vector<std::string> lines = form_.choices();
    for (int option = 0; option < kPortOptions; ++option) {
        HWND field = controls_.find("CbPort", option);
        if (::SendMessageW(field, CB_GETCOUNT, 0, 0) != static_cast<LRESULT>(lines.size())) {
            ::SendMessageW(field, CB_RESETCONTENT, 0, 0);
            for (const std::string& line : lines) {
                ::SendMessageW(field, CB_ADDSTRING, 0,
                               reinterpret_cast<LPARAM>(toWide(line).c_str()));
            }
        }
        setText(field, form_.device(option));
    }
    setText(control("LblDetection"), form_.detection());
}

LRESULT PortsWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND: {
        if (LOWORD(wParam) == IDCANCEL && lParam == 0) { // Escape
            raise(Event::CancelClicked, nullptr, -1);
            return 0;
        }
        auto* source = reinterpret_cast<HWND>(lParam);
        const int position = positionOf(source);
        if (position < 0 || quiet_ > 0) {
            return 0;
        }
        const auto& described = portsDescription().controls[position];
        for (Event event : described.events) {
            if (raisedBy(event, HIWORD(wParam))) {
                raise(event, source, described.index);
                break;
            }
        }
        return 0;
    }
    case kShowFormLater:
        showForm();
        return 0;
    case WM_CLOSE:
        raise(Event::CancelClicked, nullptr, -1);
        return 0;
    default:
        return DescribedDialog::handleMessage(message, wParam, lParam);
    }
}

} // namespace quorel
