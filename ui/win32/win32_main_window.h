#pragma once

#include "core/form.h"
#include "ui/main_window_form.h"
#include "ui/main_window_view.h"
#include "ui/win32/form_screen.h"
#include "ui/win32/form_window.h"
#include "ui/window_geometry.h"

#include <functional>
#include <optional>
#include <windows.h>

namespace quorel {

// The window F1, drawn by the renderer from its form: what is its own is its place and size
// (the logic's resize rule), its close, the end of the session and the end of the program.
class Win32MainWindow final : public FormWindow, public MainWindowView {
  public:
    Win32MainWindow();
    ~Win32MainWindow() override;

    // Binds the controls to the logic. Call once, before the start-up runs.
    void attach(Program& program);
    // Unbinds the controls; call before the logic goes away.
    void detach();
    void show();
    // Hides the window, rather than closing it, until the program ends.
    void closeFor(ShutdownCause cause) override;
    void showCopyMenu() override;
    // The window's place on the screen, for the start-up and the resize rule.
    TwipsSize outerSize() override;
    TwipsSize screenSize() override;
    void moveTo(TwipsPoint position) override;

    // Runs when Windows ends the session, before the shut-down it causes.
    std::function<void()> onSessionEnding;

    HMENU dayMenu() const { return popUpMenu("mnuJour"); }

  protected:
    void showPart(int part) override { drawPart(part); }
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    void resized(WPARAM kind);

    const FormDescription windowDescription_ = described(mainWindowDescription());
    Win32FormScreen screen_;
    std::optional<MainWindowForm> mainForm_;
    bool applyingResizeRule_ = false;
};

} // namespace quorel
