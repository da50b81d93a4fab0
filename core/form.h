#pragma once

#include "core/check_state.h"
#include "core/control_description.h"
#include "core/local_date.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace quorel {

// How a control or a row of a list is coloured; each front end has its own colours for these.
enum class Look {
    Plain,        // the toolkit's own colours
    Greyed,       // a row in the system's grey text: a period that is over
    Warning,      // bells that will not ring: a label white on red, a row in red
    IndicatorOff, // a box in darker green
    IndicatorOn,  // a box in bright green
    RelayOn,      // a button on light red: it switched its relay on
};

// What a control or a menu item shows, as its form sets it. Each kind reads its own fields:
// Label, LinesView, TextField, ComboField: text; ListBox, DropDown, ComboField: items (the lines
// to pick from); ReportList: rows, rowLooks and rowToolTips; ListBox, DropDown, ReportList:
// selected (the current row or line); DateField: date; CheckBox, OptionButton, a menu item:
// check; Label, ColourBox, PushButton: look; a menu item: text (its caption). Every kind: toolTip
// (empty: the described one), enabled, visible.
struct ControlValue {
    std::string text{};
    std::string toolTip{};
    std::vector<std::string> items{};
    std::vector<std::vector<std::string>> rows{}; // a text per column
    std::vector<Look> rowLooks{};                 // a row without one is Plain
    std::vector<std::string> rowToolTips{};       // a row without one (or "") has none
    std::optional<size_t> selected{};
    LocalDate date{};
    CheckState check = CheckState::Unchecked;
    Look look = Look::Plain;
    bool enabled = true;
    bool visible = true;
    bool operator==(const ControlValue&) const = default;
};

// A key released on a list; Delete is the only one a list acts on.
enum class ListKey { Delete, Other };

// The modifier keys held down with a key.
struct KeyModifiers {
    bool shift = false;
    bool control = false;
    bool alt = false;
};

struct KeyRelease {
    ListKey key = ListKey::Other;
    KeyModifiers modifiers{};
};

// What the operator did to a control, as every front end reports it:
// Click: a push button, check box, option button or menu item, or a click in a list;
// Edit: text typed in a field or a combo field, a day set in a date field;
// Pick: a line picked in a drop-down or a combo field's list, the current row of a list changed;
// HeaderClick: a column header of a report list; KeyRelease: a key released on a list.
enum class Action { Click, Edit, Pick, HeaderClick, KeyRelease };

// One action on one control, with what came with it.
struct ControlInput {
    size_t control = 0; // its position in the description's controls, or of menuItems()
    bool menuItem = false;
    Action action = Action::Click;
    std::string text{};                       // Edit: the field's new text
    LocalDate date{};                         // Edit: the date field's new day
    std::optional<size_t> row{};              // Pick: the line or row (none: no current row);
                                              // HeaderClick: the column, from 0
    CheckState check = CheckState::Unchecked; // Click on a check box: its new state
    KeyRelease key{};
};

// The design places were drawn for a narrower typeface: a control whose fixed caption needs
// more room than its place (label, option button, check box; not a label whose text changes)
// grows to fit it, to the left for right-aligned text, and around its middle when taller.
bool widensToFitCaption(const ControlDescription<int, int>& control);
TwipsRect placeFitting(const ControlDescription<int, int>& control, int neededWidth,
                       int neededHeight);

// A text whose place is fixed (a label whose text changes) is drawn in a smaller type when it
// would not fit at typeHeight: the largest height, in the same unit, at which neededWidth
// shrinks to availableWidth, never below two thirds of typeHeight.
int typeHeightToFit(int typeHeight, int neededWidth, int availableWidth);

// What a renderer shows of a form's value: an empty tool tip is the described one, an empty text
// of a menu item its caption.
ControlValue shownValue(const ControlDescription<int, int>& control, ControlValue value);
ControlValue shownValue(const MenuItemDescription<int, int>& item, ControlValue value);

// How wide a report list's column is: as described, as its texts, or (the last one without a
// width) as the rest of the list.
enum class ColumnFit { Described, Texts, Rest };
ColumnFit columnFit(const ControlDescription<int, int>& list, size_t column);

// Where a control of a resizable window lies along one axis once the window grew by growth (in
// any unit): anchored on its far side, it moves with it, or grows when anchored on both.
struct Span {
    int start = 0;
    int length = 0;
};
Span anchoredSpan(Span built, bool nearAnchor, bool farAnchor, int growth);

// A window or dialog described with its events and parts as plain numbers, so that one
// renderer draws them all: each number is the value of the form's own enumeration.
using FormDescription = WindowDescription<int, int>;

// A menu item of a description with its menu, in the order a renderer numbers them.
struct FormMenuItem {
    const MenuDescription<int, int>* menu = nullptr;
    const MenuItemDescription<int, int>* item = nullptr;
};
std::vector<FormMenuItem> menuItems(const FormDescription& description);

// The logic of a window or dialog, which a front end's renderer draws and drives: it builds the
// description's controls at their places, hands every action of the operator to raise(), and
// after each shows the value of every control whose content the form owns. The renderer closes a
// dialog once ended().
class Form {
  public:
    virtual ~Form() = default;
    virtual const FormDescription& description() const = 0;
    // What the control (or menu item) at that position shows; only asked of those with content.
    virtual ControlValue value(size_t control, bool menuItem) const = 0;
    virtual void raise(const ControlInput& input) = 0;
    virtual bool ended() const { return false; }
    // True when the action must wait until the click or key that made it is over (the renderer
    // then hands it over from its event loop): a question asked inside it would leave a list with
    // the new row selected after the operator declined the move.
    virtual bool waitsForInputEnd(const ControlInput&) const { return false; }

    // Set by the renderer that shows the form: draws its values at once. A form whose action
    // runs the event loop for a while (a probe of the devices) calls it first, so that the
    // window shows what the action cleared.
    std::function<void()> redrawNow;
};

// The event of the control that an input names for its action: among the control's events, the
// one whose action (actionOf, the form's own table) it is; none when it raises nothing for it.
template <typename Event>
std::optional<Event> eventOf(const FormDescription& description, const ControlInput& input,
                             Action (*actionOf)(Event)) {
    if (input.menuItem) {
        const std::vector<FormMenuItem> items = menuItems(description);
        if (input.control < items.size()) {
            for (int event : items[input.control].item->events) {
                if (actionOf(static_cast<Event>(event)) == input.action) {
                    return static_cast<Event>(event);
                }
            }
        }
        return std::nullopt;
    }
    if (input.control >= description.controls.size()) {
        return std::nullopt;
    }
    for (int event : description.controls[input.control].events) {
        if (actionOf(static_cast<Event>(event)) == input.action) {
            return static_cast<Event>(event);
        }
    }
    return std::nullopt;
}

// Binds a renderer to form (none: to no form): the form bound before forgets the renderer's
// redraw, the new one is given it.
inline void bindRenderer(Form*& bound, Form* form, std::function<void()> redraw) {
    if (bound != nullptr) {
        bound->redrawNow = nullptr;
    }
    bound = form;
    if (bound != nullptr) {
        bound->redrawNow = std::move(redraw);
    }
}

// Shows a form as a modal dialog over the window until the form has ended; each front end has
// one.
class FormScreen {
  public:
    virtual ~FormScreen() = default;
    virtual void show(Form& form) = 0;
    // Opens a folder in the system's file manager, without waiting for it.
    virtual void openFolder(const std::string& folder) = 0;
};

// The description with its events and parts as numbers.
template <typename Event, typename Part>
FormDescription described(const WindowDescription<Event, Part>& window) {
    FormDescription plain{.name = window.name,
                          .title = window.title,
                          .clientWidth = window.clientWidth,
                          .clientHeight = window.clientHeight,
                          .typeHeight = window.typeHeight,
                          .resizable = window.resizable,
                          .cancelButton = window.cancelButton};
    const auto number = [](const auto& part) {
        return part ? std::optional<int>(static_cast<int>(*part)) : std::nullopt;
    };
    for (const auto& menu : window.menus) {
        MenuDescription<int, int> each{
            .name = menu.name, .caption = menu.caption, .onMenuBar = menu.onMenuBar};
        for (const auto& item : menu.items) {
            each.items.push_back({.name = item.name,
                                  .index = item.index,
                                  .caption = item.caption,
                                  .checkable = item.checkable,
                                  .content = number(item.content)});
            for (Event event : item.events) {
                each.items.back().events.push_back(static_cast<int>(event));
            }
        }
        plain.menus.push_back(std::move(each));
    }
    for (const auto& control : window.controls) {
        ControlDescription<int, int> each{.name = control.name,
                                          .index = control.index,
                                          .kind = control.kind,
                                          .caption = control.caption,
                                          .toolTip = control.toolTip,
                                          .place = control.place,
                                          .container = control.container,
                                          .visible = control.visible,
                                          .content = number(control.content),
                                          .alignment = control.alignment,
                                          .bold = control.bold,
                                          .largerType = control.largerType,
                                          .framed = control.framed,
                                          .clipsText = control.clipsText,
                                          .checked = control.checked,
                                          .columns = control.columns,
                                          .anchors = control.anchors,
                                          .tabOrder = control.tabOrder};
        for (Event event : control.events) {
            each.events.push_back(static_cast<int>(event));
        }
        plain.controls.push_back(std::move(each));
    }
    return plain;
}

} // namespace quorel
