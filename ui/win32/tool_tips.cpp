#include "ui/win32/tool_tips.h"

#include "platform/windows/wide_text.h"

#include <commctrl.h>

namespace quorel {

namespace {

TTTOOLINFOW toolOf(HWND owner, HWND control) {
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = owner;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    return tool;
}

} // namespace

ToolTips::~ToolTips() {
    if (tip_ != nullptr) {
        ::DestroyWindow(tip_);
    }
}

void ToolTips::create(HWND owner) {
    owner_ = owner;
    tip_ = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                             WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                             ::GetModuleHandleW(nullptr), nullptr);
    // Texts with line breaks ("Prochaine sonnerie\n…") show on several lines.
    ::SendMessageW(tip_, TTM_SETMAXTIPWIDTH, 0, 600);
}

void ToolTips::add(HWND control, const std::string& text) {
    std::wstring wide = toWide(text);
    TTTOOLINFOW tool = toolOf(owner_, control);
    tool.lpszText = wide.data();
    ::SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void ToolTips::addAsked(HWND control) {
    TTTOOLINFOW tool = toolOf(owner_, control);
    tool.lpszText = LPSTR_TEXTCALLBACKW;
    ::SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void ToolTips::setText(HWND control, const std::string& text) {
    if (this->text(control) == text) {
        return;
    }
    std::wstring wide = toWide(text);
    TTTOOLINFOW tool = toolOf(owner_, control);
    tool.lpszText = wide.data();
    ::SendMessageW(tip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

std::string ToolTips::text(HWND control) const {
    wchar_t buffer[1024] = {};
    TTTOOLINFOW tool = toolOf(owner_, control);
    tool.lpszText = buffer;
    ::SendMessageW(tip_, TTM_GETTEXTW, sizeof buffer / sizeof buffer[0],
                   reinterpret_cast<LPARAM>(&tool));
    return fromWide(buffer);
}

void ToolTips::pop() const {
    ::SendMessageW(tip_, TTM_POP, 0, 0);
}

} // namespace quorel
