#pragma once

#include "core/view.h"
#include "ui/main_window_events.h"
#include "ui/program.h"
#include "ui/qt/main_window_controls.h"
#include "ui/window_geometry.h"

#include <QMainWindow>
#include <functional>

namespace quorel {

class ScheduleTableModel;

// The window F1. It shows the logic's state (View) and forwards every event of its controls to
// the logic; it decides nothing itself.
class MainWindow final : public QMainWindow, public View, public WindowGeometry {
    Q_OBJECT

  public:
    MainWindow();
    ~MainWindow() override;

    // Binds the controls to the logic. Call once, before the start-up runs.
    void attach(Program& program);
    // Unbinds the controls; call before the logic goes away, since the window outlives it.
    void detach();

    void redraw(ViewPart part) override;

    TwipsSize outerSize() override;
    TwipsSize screenSize() override;
    void moveTo(TwipsPoint position) override;

    // Forwards a request to close ("Quitter", a signal) to the logic; closes the window and ends
    // the program when the logic has shut down.
    void closeFor(ShutdownCause cause);

    // Runs once, when the program has ended, to leave the event loop.
    std::function<void()> onEnded;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void connectControls();
    // Connects the Qt signal of source that raises event; index: the element of a control array.
    void connectEvent(WindowEvent event, int index, QObject* source);
    // Hands an event to the logic and does what it asks of the window.
    void forward(const WindowInput& input);

    void showClock();
    void showOutputs();
    void showStatus();
    void showPortChoice();
    void showRelayButtons();
    void showList();
    void showEditFields();
    void showDays();
    void showAutoRun();
    void showNextBell();
    void editDaysWithoutBells();
    void showJournal();
    void showCopyMenu();
    // Announces the program's end, once.
    void end();

    MainWindowControls controls_;
    Program* program_ = nullptr;
    bool applyingResizeRule_ = false;
    bool endAnnounced_ = false;
    ScheduleTableModel* listModel_ = nullptr;
};

} // namespace quorel
