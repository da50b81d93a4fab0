#pragma once

#include <string>
#include <windows.h>

namespace quorel {

// The tool tips of one window's controls, in one TOOLTIPS_CLASS control. A tool is a control;
// its text is fixed, set later, or asked of the window (TTN_GETDISPINFO) when it shows.
class ToolTips {
  public:
    ToolTips() = default;
    ToolTips(const ToolTips&) = delete;
    ToolTips& operator=(const ToolTips&) = delete;
    ~ToolTips();

    void create(HWND owner);
    void add(HWND control, const std::string& text);
    void addAsked(HWND control);
    // An empty text shows no tip.
    void setText(HWND control, const std::string& text);
    std::string text(HWND control) const;
    // Hides the tip shown, so that the next one asks its text again.
    void pop() const;
    HWND handle() const { return tip_; }

  private:
    HWND owner_ = nullptr;
    HWND tip_ = nullptr;
};

} // namespace quorel
