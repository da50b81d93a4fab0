#pragma once

#include "core/form.h"
#include "ui/win32/colours.h"
#include "ui/win32/native_controls.h"
#include "ui/win32/native_window.h"
#include "ui/win32/tool_tips.h"
#include "ui/win32/window_fonts.h"

#include <deque>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>
#include <windows.h>

#include <commctrl.h>

namespace quorel {

// The one renderer of the program's windows and dialogs: it builds any form's controls and menus
// as native controls at their described places, hands every action of the operator to the form,
// and after each draws what changed in the values the form gives its controls.
class FormWindow : public NativeWindow {
  public:
    enum class Frame {
        Dialog,     // fixed size, centred over its owner; Escape and the close box cancel it
        MainWindow, // a sizing border, the menu bar; closing it is the window's own business
    };

    ~FormWindow() override;

    // Builds the window of a description, hidden; the description must outlive it.
    void open(const FormDescription& window, HWND owner, Frame frame);
    // Draws the values of a form of that description and hands it the operator's actions, until
    // unbound (none). The form must outlive the binding.
    void bind(Form* form);
    // Shows a dialog over its owner until its form has ended.
    void runModal();

    HWND control(std::string_view name, int index = -1) const;
    // The command of a menu item; 0 when not described.
    UINT menuCommand(std::string_view name, int index = -1) const;
    // A menu that is not on the menu bar; none when not described.
    HMENU popUpMenu(std::string_view name) const;
    // The colour a control is filled with; none when it has the system's colours.
    std::optional<COLORREF> fillOf(HWND control) const;
    const ToolTips& toolTips() const { return tips_; }

    // Draws what changed in the values of the controls and menu items whose content is that part.
    void drawPart(int part);
    void drawAll();
    // Opens a pop-up menu where the pointer is; the item picked reaches the form before this
    // returns, as a pop-up menu is modal.
    void popUp(std::string_view menu);

  protected:
    // Sets the places and types for a DPI.
    void layOut(int dpi);
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    static constexpr UINT kFirstMenuCommand = 1000;

    struct MenuEntry {
        FormMenuItem described;
        HMENU menu = nullptr;
        std::optional<ControlValue> shown{};
    };

    void buildMenus();
    void addToolTips();
    void centreOverOwner();
    const NativeControls::Control& controlAt(size_t position) const;

    // The operator's actions.
    void controlCommand(HWND control, UINT code);
    LRESULT notification(NMHDR* header);
    LRESULT listNotification(size_t position, NMHDR* header);
    void menuCommand(UINT command);
    void cancel();
    void raise(const ControlInput& input);
    void hand(const ControlInput& input);
    void noteShown(const ControlInput& input);
    static LRESULT CALLBACK listProcedure(HWND list, UINT message, WPARAM wParam, LPARAM lParam,
                                          UINT_PTR id, DWORD_PTR self);

    // The drawing of values.
    void drawControl(size_t position);
    void drawValue(size_t position, const std::optional<ControlValue>& before,
                   const ControlValue& value);
    void drawRows(size_t position, const ControlValue& value);
    void drawItem(size_t item);
    void rebuildMenu(HMENU menu);
    void fitType(size_t position, const std::string& text);
    void setFill(HWND control, std::optional<Fill> fill);
    HBRUSH brushOf(COLORREF colour);
    LRESULT colourStatic(HDC dc, HWND control);
    void drawColouredButton(const DRAWITEMSTRUCT& draw) const;
    LRESULT drawRow(size_t position, NMLVCUSTOMDRAW* draw) const;
    std::string rowToolTip(size_t position, int row) const;
    std::string toolTipOf(size_t position) const;

    const FormDescription* description_ = nullptr;
    Form* form_ = nullptr;
    HWND owner_ = nullptr;
    Frame frame_ = Frame::Dialog;
    WindowFonts fonts_;
    NativeControls controls_;
    ToolTips tips_;
    HMENU menuBar_ = nullptr;
    std::vector<HMENU> menus_; // one per described menu
    std::vector<MenuEntry> items_;
    // What each control shows, as last drawn or as the operator left it; none before the first.
    std::vector<std::optional<ControlValue>> shown_;
    std::map<HWND, Fill> fills_;
    std::map<COLORREF, HBRUSH> brushes_;
    std::deque<ControlInput> later_; // actions handed over once their click or key is over
    std::wstring askedTip_;          // the text of a list's tool tip, while it shows
    int hoveredRow_ = -1;
    int drawing_ = 0; // controls set while drawing raise no action
    bool ended_ = false;
};

} // namespace quorel
