#pragma once

#include "platform/view.h"
#include "ui/program.h"

#include <QMainWindow>
#include <array>
#include <functional>

class QAction;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QRadioButton;
class QTreeView;

namespace quorel {

class ScheduleTableModel;

// The window F1. It shows the logic's state (View) and forwards every event of its controls to
// the logic; it decides nothing itself. Each control's objectName is its name, with "_<index>"
// for an element of a control array.
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

    // Closes the window, which runs the shut-down, for the given cause.
    void closeFor(ShutdownCause cause);

    // Runs once the shut-down sequence has run, to end the program.
    std::function<void()> onEnded;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildMenus();
    void buildLeftSide(QWidget* client);
    void buildEditor(QWidget* client);
    void buildHiddenControls(QWidget* client);
    void connectControls();

    void showClock();
    void showOutputs();
    void showStatus();
    void showPortChoice();
    void showRelayButtons();
    void showList();
    void showEditFields();
    void showDays();
    void showAutoRun();
    void showCopyMenu();

    Program* program_ = nullptr;
    bool applyingResizeRule_ = false;
    ShutdownCause closeCause_ = ShutdownCause::WindowClosed;

    QAction* mnuautorun_ = nullptr;
    QAction* MnuQuit_ = nullptr;
    QMenu* mnuJour_ = nullptr;
    std::array<QAction*, 7> Jour_{};

    QGroupBox* Frame9_ = nullptr;
    QLabel* Setting_ = nullptr;
    QButtonGroup* portGroup_ = nullptr;
    std::array<QRadioButton*, 5> PortCom_{};
    QLabel* LblHeure_ = nullptr;
    std::array<QFrame*, 4> LedSat_{};
    std::array<QCheckBox*, 4> CheckS_{};
    std::array<QFrame*, 4> LedOut_{};
    std::array<QLabel*, 4> LblTemp_{};
    std::array<QLabel*, 4> LblMaxi_{};
    std::array<QPushButton*, 2> CmdRelais_{};
    QLabel* InfoERR_ = nullptr;

    QGroupBox* FrameQuorel_ = nullptr;
    QComboBox* ComboS_ = nullptr;
    std::array<QLineEdit*, 2> ChDecoupe_{};
    QLineEdit* ChDure_ = nullptr;
    QPushButton* BtnInti_ = nullptr;
    QTreeView* Quorel_ = nullptr;
    ScheduleTableModel* listModel_ = nullptr;
    QListWidget* JourSemaine_ = nullptr;
    QPushButton* BtnSave_ = nullptr;
    QPushButton* BtnDelete_ = nullptr;
    QPushButton* BtnCopy_ = nullptr;
    std::array<QLineEdit*, 3> ChEdit_{};
    QPushButton* BtnAjouter_ = nullptr;
    QPushButton* BtnReplacer_ = nullptr;
    QPushButton* BtnSupp_ = nullptr;
};

} // namespace quorel
