#pragma once

#include <optional>
#include <string_view>
#include <vector>

namespace quorel {

// A place in a window, in twips (15 to a pixel at 96 dots per inch), from the top left corner of
// the control's container: the client area, or the group box named as its container.
struct TwipsRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// What a control is; each front end builds its own control of that kind.
enum class ControlKind {
    Label,        // a text the operator does not edit
    PushButton,   // a button with a caption, clicked
    OptionButton, // one of a group of exclusive choices: the controls of one name
    CheckBox,     // a box with a caption, unchecked, checked or greyed
    TextField,    // one line of text the operator types
    ColourBox,    // a framed box filled with the colour of its state
    GroupBox,     // a frame with a title, the container of the controls that name it
    ReportList,   // rows of columns under clickable headers, one row selected at most
    ListBox,      // a column of texts, one selected at most
    DropDown,     // a closed list whose chosen text shows
    ComboField,   // a line of text typed, or picked in the list it drops down
    DateField,    // a day, typed as dd/mm/yyyy or picked on a calendar
    LinesView,    // read-only lines in a fixed-width type, scrolled to the last one
};

enum class TextAlignment { Left, Centre, Right };

// The sides of a resizable window that a control keeps its distance to as the window grows:
// the left and the top only, it stays as it is; left and right, it widens; top and bottom, it
// grows taller; the right or the bottom only, it moves with that side.
struct Anchors {
    bool left = true;
    bool top = true;
    bool right = false;
    bool bottom = false;
};

// What grows with a resizable window: the control itself (a list); a field below it, which
// widens and moves down; a control below it, which moves down; a button in the bottom right
// corner, which moves with it.
inline constexpr Anchors kGrows{.left = true, .top = true, .right = true, .bottom = true};
inline constexpr Anchors kWidensBelow{.left = true, .top = false, .right = true, .bottom = true};
inline constexpr Anchors kBelow{.left = true, .top = false, .right = false, .bottom = true};
inline constexpr Anchors kBottomRight{.left = false, .top = false, .right = true, .bottom = true};

// A column of a report list. width in twips; 0 makes the column as wide as its texts, or for the
// last column, as wide as the rest of the list.
struct ListColumn {
    const char* caption = "";
    int width = 0;
};

// One control of a window, complete enough for any front end to build it. Event: the window's
// enumeration of what its controls raise; Part: its enumeration of the groups of controls whose
// content the logic owns and redraws.
template <typename Event, typename Part> struct ControlDescription {
    // The control's name; with an index, "<name>_<index>" names one element of a control array.
    const char* name = "";
    int index = -1; // no index: the control is not in an array
    ControlKind kind = ControlKind::Label;
    const char* caption = "";
    const char* toolTip = "";
    TwipsRect place{};
    const char* container = nullptr; // the group box it lies in; none for the client area
    bool visible = true;
    std::optional<Part> content{}; // the logic owns what it shows; none for a fixed caption
    std::vector<Event> events{};   // what it raises, to be handed to the logic
    TextAlignment alignment = TextAlignment::Left;
    bool bold = false;
    int largerType = 0;     // twips added to the height of the window's type
    bool framed = false;    // a label drawn inside a box
    bool clipsText = false; // a label whose texts change: cut to its place, never widened
    bool checked = false;   // an option or check box chosen when the window opens
    std::vector<ListColumn> columns{};
    Anchors anchors{};
    // The place in the order the Tab key moves the focus through the window's controls.
    int tabOrder = 0;
};

// An item of a menu.
template <typename Event, typename Part> struct MenuItemDescription {
    const char* name = "";
    int index = -1;
    const char* caption = "";
    bool checkable = false; // shows a check mark
    std::optional<Part> content{};
    std::vector<Event> events{};
};

template <typename Event, typename Part> struct MenuDescription {
    const char* name = "";
    const char* caption = "";
    bool onMenuBar = true; // otherwise a pop-up menu that the window opens when asked
    std::vector<MenuItemDescription<Event, Part>> items{};
};

// A window: its client area's size, the height of its type, its menus and its controls. The
// controls are listed in the order they are built, containers before what they contain, which is
// also their tab order.
template <typename Event, typename Part> struct WindowDescription {
    const char* name = "";
    const char* title = "";
    int clientWidth = 0;
    int clientHeight = 0;
    int typeHeight = 0; // twips; 0: the system's type
    // The operator may make it larger than described, where the toolkit lets dialogs grow; the
    // controls follow their anchors.
    bool resizable = false;
    // The button whose click Escape and the dialog's close box stand for; none for a window.
    const char* cancelButton = nullptr;
    std::vector<MenuDescription<Event, Part>> menus{};
    std::vector<ControlDescription<Event, Part>> controls{};

    // The control of that name and index, or none.
    const ControlDescription<Event, Part>* control(const char* controlName,
                                                   int controlIndex = -1) const;
};

template <typename Event, typename Part>
const ControlDescription<Event, Part>*
WindowDescription<Event, Part>::control(const char* controlName, int controlIndex) const {
    for (const ControlDescription<Event, Part>& each : controls) {
        if (each.index == controlIndex && std::string_view(each.name) == controlName) {
            return &each;
        }
    }
    return nullptr;
}

// Numbers the controls in the order they are listed.
template <typename Event, typename Part>
WindowDescription<Event, Part> inTabOrder(WindowDescription<Event, Part> window) {
    int order = 0;
    for (ControlDescription<Event, Part>& each : window.controls) {
        each.tabOrder = order++;
    }
    return window;
}

} // namespace quorel
