#pragma once

#include "ui/main_window_view.h"
#include "ui/qt/main_window_controls.h"
#include "ui/window_geometry.h"

#include <QMainWindow>
#include <functional>

namespace quorel {

class ScheduleTableModel;

// The window F1. It shows the logic's state (View) and forwards every event of its controls to
// the logic; it decides nothing itself.
class MainWindow final : public QMainWindow, public MainWindowView, public WindowGeometry {
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
    void editDaysWithoutBells() override;
    void editPorts() override;
    void editSpecialTimetables() override;
    void showJournal() override;
    void showCopyMenu() override;
    // Announces the program's end, once.
    void end();

    MainWindowControls controls_;
    bool applyingResizeRule_ = false;
    bool endAnnounced_ = false;
    ScheduleTableModel* listModel_ = nullptr;
};

} // namespace quorel
