#include "platform/windows/win32_dialogs.h"

#include "platform/windows/wide_text.h"

#include <algorithm>
#include <windows.h>

namespace quorel {

// A box being shown: the hook finds its window when it is first activated.
struct Win32Dialogs::OpenBox {
    const MessageBoxDescription& description;
    const bool& ending;
    HWND window = nullptr;
    bool endedFromOutside = false;
};

namespace {

thread_local Win32Dialogs::OpenBox* boxBeingShown = nullptr;

int buttonId(BoxButton button) {
    switch (button) {
    case BoxButton::Ok:
        return IDOK;
    case BoxButton::Yes:
        return IDYES;
    case BoxButton::No:
        return IDNO;
    case BoxButton::Cancel:
        break;
    }
    return IDCANCEL;
}

std::optional<BoxButton> buttonOf(int id) {
    for (BoxButton button : {BoxButton::Ok, BoxButton::Yes, BoxButton::No, BoxButton::Cancel}) {
        if (buttonId(button) == id) {
            return button;
        }
    }
    return std::nullopt;
}

// MB_DEFBUTTON1, 2 or 3: the place of the default among the described buttons.
UINT defaultButtonStyle(const MessageBoxDescription& description) {
    UINT place = 0;
    for (const auto& control : description.box.controls) {
        if (control.kind == ControlKind::PushButton) {
            if (control.events.front() == description.defaultButton) {
                return place * MB_DEFBUTTON2;
            }
            ++place;
        }
    }
    return MB_DEFBUTTON1;
}

bool isDialogBox(HWND window) {
    wchar_t className[16] = {};
    ::GetClassNameW(window, className, 16);
    return std::wstring_view(className) == L"#32770";
}

// Gives the box's buttons the described captions: Windows' own are in its language.
LRESULT CALLBACK onBoxCreation(int code, WPARAM wParam, LPARAM lParam) {
    Win32Dialogs::OpenBox* box = boxBeingShown;
    const auto window = reinterpret_cast<HWND>(wParam);
    if (code == HCBT_ACTIVATE && box != nullptr && box->window == nullptr && isDialogBox(window)) {
        box->window = window;
        for (const auto& control : box->description.box.controls) {
            if (control.kind == ControlKind::PushButton) {
                ::SetDlgItemTextW(window, buttonId(control.events.front()),
                                  toWide(control.caption).c_str());
            }
        }
        if (box->ending) {
            box->endedFromOutside = true;
            ::EndDialog(window, IDCANCEL);
        }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

} // namespace

void Win32Dialogs::message(const std::string& text, MessageIcon icon) {
    show(messageBoxDescription(), text,
         MB_OK | (icon == MessageIcon::Critical ? MB_ICONERROR : 0U));
}

Answer Win32Dialogs::ask(const std::string& text) {
    return answerOf(show(questionBoxDescription(), text, MB_YESNOCANCEL | MB_ICONQUESTION));
}

void Win32Dialogs::endOpenBox() {
    ending_ = true;
    // The inner boxes end first; each outer one leaves its loop when the inner one has returned.
    for (auto open = openBoxes_.rbegin(); open != openBoxes_.rend(); ++open) {
        (*open)->endedFromOutside = true;
        if ((*open)->window != nullptr) {
            ::EndDialog((*open)->window, IDCANCEL);
        }
    }
}

std::optional<BoxButton> Win32Dialogs::show(const MessageBoxDescription& description,
                                            const std::string& text, unsigned style) {
    if (ending_) {
        return std::nullopt;
    }
    OpenBox box{description, ending_};
    Win32Dialogs::OpenBox* const outer = boxBeingShown;
    boxBeingShown = &box;
    openBoxes_.push_back(&box);
    const HHOOK hook = ::SetWindowsHookExW(WH_CBT, onBoxCreation, nullptr, ::GetCurrentThreadId());
    const int pressed =
        ::MessageBoxW(owner_, toWide(text).c_str(), toWide(description.box.title).c_str(),
                      style | defaultButtonStyle(description));
    if (hook != nullptr) {
        ::UnhookWindowsHookEx(hook);
    }
    boxBeingShown = outer;
    openBoxes_.erase(std::find(openBoxes_.begin(), openBoxes_.end(), &box));
    return box.endedFromOutside ? std::nullopt : buttonOf(pressed);
}

} // namespace quorel
