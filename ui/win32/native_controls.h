#pragma once

#include "core/form.h"
#include "ui/win32/window_fonts.h"

#include <optional>
#include <string_view>
#include <vector>
#include <windows.h>

namespace quorel {

// The identifier of a described control's native control: its place in the description's order
// from this one, so that GetDlgItem finds it.
inline constexpr int kFirstControlId = 100;

// The native controls of a described window, children of its window (a group box holds none:
// its controls lie over it), in the described order, which is also the Tab order.
class NativeControls {
  public:
    using Control = ControlDescription<int, int>;

    // The description must outlive the controls.
    void build(HWND parent, const FormDescription& window, WindowFonts& fonts);

    // Sets each control's place and type for the window's DPI; a fixed caption wider than its
    // place widens it as placeFitting says.
    void place(int dpi, WindowFonts& fonts);

    // The control of that name and index; none when not described.
    HWND find(std::string_view name, int index = -1) const;
    // The position in the description of a native control; none when it is not one of them.
    std::optional<size_t> positionOf(HWND control) const;

    struct Built {
        const Control* control = nullptr;
        int container = -1; // the group box it lies in, as a position in the description
        HWND handle = nullptr;
    };
    std::vector<Built> built;
};

// A push button whose face its form sets: its window draws it.
bool drawnByWindow(const ControlDescription<int, int>& control);

// Sets the widths of a report list's columns: a described width, else as wide as the column's
// texts, the last one as wide as the rest of the list.
void fitColumns(HWND list, const ControlDescription<int, int>& control, int dpi);

// The size of a text, of one line or several, in a control's font.
SIZE textSize(HWND control, HFONT font, const std::wstring& text);

} // namespace quorel
