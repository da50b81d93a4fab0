#pragma once

#include "core/form.h"
#include "ui/main_window_description.h"
#include "ui/main_window_view.h"
#include "ui/row_warnings.h"
#include "ui/win32/native_controls.h"
#include "ui/win32/native_window.h"
#include "ui/win32/tool_tips.h"
#include "ui/win32/window_fonts.h"
#include "ui/window_geometry.h"

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>
#include <windows.h>

#include <commctrl.h>

namespace quorel {

// The window F1 as native Win32 controls built from its description. It shows the logic's state
// (View) and forwards every event of its controls to the logic; it decides nothing itself.
class Win32MainWindow final : public NativeWindow, public MainWindowView, public WindowGeometry {
  public:
    Win32MainWindow();
    ~Win32MainWindow() override;

    // Binds the controls to the logic. Call once, before the start-up runs.
    void attach(Program& program);
    // Unbinds the controls; call before the logic goes away.
    void detach();
    void show();

    // Sets the controls quietly: a redraw raises no event.
    void redraw(ViewPart part) override;

    TwipsSize outerSize() override;
    TwipsSize screenSize() override;
    void moveTo(TwipsPoint position) override;

    // Hides the window, rather than closing it, until the program ends.
    void closeFor(ShutdownCause cause) override;

    // Runs once, when the program has ended, to leave the message loop.
    std::function<void()> onEnded;
    // Runs when Windows ends the session, before the shut-down it causes.
    std::function<void()> onSessionEnding;

    // The native control of a described control, none when not described.
    HWND control(std::string_view name, int index = -1) const;
    // The command of a menu item; 0 when not described.
    UINT menuCommand(std::string_view name, int index = -1) const;
    HMENU dayMenu() const { return dayMenu_; }
    // The colour the window fills a control with: an indicator, a relay test button; none when it
    // has the system's colours.
    std::optional<COLORREF> fillOf(HWND control) const;
    const ToolTips& toolTips() const { return tips_; }

  protected:
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    struct MenuItem {
        const MenuItemDescription<WindowEvent, ViewPart>* item;
        HMENU menu;
    };

    void buildMenus();
    void addToolTips();
    void layOut(int dpi);
    void controlCommand(HWND control, UINT code);
    void menuCommand(UINT command);
    LRESULT listNotification(NMHDR* header);
    LRESULT listCustomDraw(NMLVCUSTOMDRAW* draw) const;
    LRESULT colourStatic(HDC dc, HWND control);
    void drawColouredButton(const DRAWITEMSTRUCT& draw) const;
    std::string listToolTip() const;
    void dayChosen(int row);
    void keyReleased(WPARAM key);
    void resized(WPARAM kind);
    void showCopyMenu() override;
    void editDaysWithoutBells() override;
    void editPorts() override;
    void editSpecialTimetables() override;
    void showJournal() override;
    void end();
    static LRESULT CALLBACK listProcedure(HWND list, UINT message, WPARAM wParam, LPARAM lParam,
                                          UINT_PTR id, DWORD_PTR self);

    void showClock() override;
    void showOutputs() override;
    void showStatus() override;
    void showPortChoice() override;
    void showRelayButtons() override;
    void showList() override;
    void showEditFields() override;
    void showDays() override;
    void showAutoRun() override;
    void showNextBell() override;

    WindowFonts fonts_;
    FormDescription plain_ = described(mainWindowDescription());
    NativeControls controls_;
    ToolTips tips_;
    HMENU menuBar_ = nullptr;
    HMENU dayMenu_ = nullptr;
    std::vector<MenuItem> menuItems_;
    // The day list's names as last shown, in the list and in the pop-up "Jour".
    std::vector<std::string> shownDays_;
    std::vector<RowWarning> warnings_;
    int hoveredRow_ = -1;
    // The colours a redraw gave to controls, and a brush per colour, kept for the window's life.
    struct Fill {
        COLORREF background;
        std::optional<COLORREF> text;
    };
    void setFill(HWND control, std::optional<Fill> fill);
    HBRUSH brushOf(COLORREF colour);
    std::map<HWND, Fill> fills_;
    std::map<COLORREF, HBRUSH> brushes_;
    std::wstring askedTip_; // the text of the list's tool tip, while it shows
    int quiet_ = 0;         // controls set by a redraw raise no event
    bool applyingResizeRule_ = false;
    bool endAnnounced_ = false;
};

} // namespace quorel
