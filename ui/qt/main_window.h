#pragma once

#include "ui/main_window_form.h"
#include "ui/main_window_view.h"
#include "ui/qt/qt_form_screen.h"
#include "ui/window_geometry.h"

#include <QMainWindow>
#include <functional>
#include <memory>

namespace quorel {

class FormRenderer;

// The window F1: its controls and menus are drawn by a renderer from its form (MainWindowForm),
// which the logic's redraws and the operator's actions go through. The window itself keeps its
// fixed client size, its place and size rule, its close and the program's end.
class MainWindow final : public QMainWindow, public MainWindowView {
    Q_OBJECT

  public:
    MainWindow();
    ~MainWindow() override;

    // Binds the controls to the logic. Call once, before the start-up runs.
    void attach(Program& program);
    // Unbinds the controls; call before the logic goes away, since the window outlives it.
    void detach();

    TwipsSize outerSize() override;
    TwipsSize screenSize() override;
    void moveTo(TwipsPoint position) override;

    void closeFor(ShutdownCause cause) override;
    void showCopyMenu() override;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void showPart(int part) override;

    QtFormScreen screen_{this};
    FormRenderer* renderer_;
    std::unique_ptr<MainWindowForm> form_;
    bool applyingResizeRule_ = false;
};

} // namespace quorel
