#pragma once

#include "core/form.h"
#include "platform/windows/wide_text.h"
#include "ui/win32/control_text.h"
#include "ui/win32/native_controls.h"
#include "ui/win32/native_window.h"
#include "ui/win32/pixels.h"
#include "ui/win32/window_fonts.h"

#include <string>
#include <string_view>
#include <vector>

namespace quorel {

// A modal dialog of the program built from its description, at its described places in the
// system's type, centred over its owner.
class DescribedDialog : public NativeWindow {
  public:
    // Shows the dialog until it is done (or the program ends).
    void run();

    HWND control(std::string_view name) const { return controls_.find(name); }

  protected:
    template <typename Event, typename Part>
    void open(HWND owner, const WindowDescription<Event, Part>& dialog);
    // The position in the description of the control a notification comes from; -1 for none.
    int positionOf(HWND control) const;

    HWND owner_ = nullptr;
    FormDescription plain_;
    NativeControls controls_;
    WindowFonts fonts_;
    bool done_ = false;
    int quiet_ = 0;

  private:
    void centreOverOwner();
};

template <typename Event, typename Part>
void DescribedDialog::open(HWND owner, const WindowDescription<Event, Part>& dialog) {
    owner_ = owner;
    const int dpi = windowDpi(owner);
    createWindow(toWide(dialog.title).c_str(), WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN,
                 WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, owner,
                 {pixels(dialog.clientWidth, dpi), pixels(dialog.clientHeight, dpi)}, nullptr);
    fonts_.reset(dialog.typeHeight, windowDpi(window_));
    plain_ = described(dialog);
    controls_.build(window_, plain_, fonts_);
    controls_.place(windowDpi(window_), fonts_);
    centreOverOwner();
}

// Fills a report list with rows of texts, a text per column; the columns but the last fit their
// texts, the last fills the rest.
void showRows(HWND list, const std::vector<std::vector<std::string>>& rows);

} // namespace quorel
