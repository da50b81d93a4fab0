#pragma once

#include "core/control_description.h"
#include "ui/win32/window_fonts.h"

#include <optional>
#include <string_view>
#include <vector>
#include <windows.h>

namespace quorel {

// The identifier of a described control's native control: its place in the description's order
// from this one, so that GetDlgItem finds it.
inline constexpr int kFirstControlId = 100;

// What building a native control needs of a control's description, whatever its window.
struct ControlSpec {
    const char* name = "";
    int index = -1;
    ControlKind kind = ControlKind::Label;
    const char* caption = "";
    const char* toolTip = "";
    TwipsRect place{};
    int container = -1; // the group box it lies in, as a position in the description
    bool visible = true;
    TextAlignment alignment = TextAlignment::Left;
    bool bold = false;
    int largerType = 0;
    bool framed = false;
    bool clipsText = false;
    bool checked = false;
    bool coloured = false; // a push button whose face the logic sets: drawn by its window
    std::vector<ListColumn> columns{};
};

// The native controls of a described window, children of its window (a group box holds none:
// its controls lie over it), in the described order, which is also the Tab order.
class NativeControls {
  public:
    template <typename Event, typename Part>
    void build(HWND parent, const WindowDescription<Event, Part>& window, WindowFonts& fonts);

    // Sets each control's place and type for the window's DPI. A caption wider than its place
    // (of a label whose texts do not change, an option or a check box) widens it, to the left
    // when right-aligned.
    void place(int dpi, WindowFonts& fonts);

    // The control of that name and index; none when not described.
    HWND find(std::string_view name, int index = -1) const;
    const ControlSpec* specOf(HWND control) const;

    struct Built {
        ControlSpec spec;
        HWND handle = nullptr;
    };
    std::vector<Built> built;

  private:
    void create(HWND parent, ControlSpec spec, WindowFonts& fonts);
};

template <typename Event, typename Part>
void NativeControls::build(HWND parent, const WindowDescription<Event, Part>& window,
                           WindowFonts& fonts) {
    for (const ControlDescription<Event, Part>& control : window.controls) {
        ControlSpec spec{.name = control.name,
                         .index = control.index,
                         .kind = control.kind,
                         .caption = control.caption,
                         .toolTip = control.toolTip,
                         .place = control.place,
                         .visible = control.visible,
                         .alignment = control.alignment,
                         .bold = control.bold,
                         .largerType = control.largerType,
                         .framed = control.framed,
                         .clipsText = control.clipsText,
                         .checked = control.checked,
                         .coloured =
                             control.kind == ControlKind::PushButton && control.content.has_value(),
                         .columns = control.columns};
        if (control.container != nullptr) {
            for (size_t i = 0; i < built.size(); ++i) {
                if (std::string_view(built[i].spec.name) == control.container) {
                    spec.container = static_cast<int>(i);
                }
            }
        }
        create(parent, std::move(spec), fonts);
    }
}

} // namespace quorel
