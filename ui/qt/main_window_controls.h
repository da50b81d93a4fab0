#pragma once

#include <array>

class QAction;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMainWindow;
class QMenu;
class QPushButton;
class QRadioButton;
class QTreeView;
class QWidget;

namespace quorel {

// The menus and controls of the window F1, built at their design places (twips, 15 to a pixel).
// Each control's objectName is its name, with "_<index>" for an element of a control array. The
// window owns them, as their Qt parent; these are the handles the window works through.
struct MainWindowControls {
    // Builds the menus of window and the controls of its client area, its central widget.
    explicit MainWindowControls(QMainWindow& window);

    QAction* mnuautorun = nullptr;
    QAction* MnuJoursSansSonnerie = nullptr;
    QAction* MnuJournal = nullptr;
    QAction* MnuQuit = nullptr;
    QMenu* mnuJour = nullptr;
    std::array<QAction*, 7> Jour{};

    QGroupBox* Frame9 = nullptr;
    QLabel* Setting = nullptr;
    QButtonGroup* portGroup = nullptr;
    std::array<QRadioButton*, 5> PortCom{};
    QLabel* LblHeure = nullptr;
    QLabel* LblProchaine = nullptr;
    std::array<QFrame*, 4> LedSat{};
    std::array<QCheckBox*, 4> CheckS{};
    std::array<QFrame*, 4> LedOut{};
    std::array<QLabel*, 4> LblTemp{};
    std::array<QLabel*, 4> LblMaxi{};
    std::array<QPushButton*, 2> CmdRelais{};
    QLabel* InfoERR = nullptr;

    QGroupBox* FrameQuorel = nullptr;
    QComboBox* ComboS = nullptr;
    std::array<QLineEdit*, 2> ChDecoupe{};
    QLineEdit* ChDure = nullptr;
    QPushButton* BtnInti = nullptr;
    QTreeView* Quorel = nullptr;
    QListWidget* JourSemaine = nullptr;
    QPushButton* BtnSave = nullptr;
    QPushButton* BtnDelete = nullptr;
    QPushButton* BtnCopy = nullptr;
    std::array<QLineEdit*, 3> ChEdit{};
    QPushButton* BtnAjouter = nullptr;
    QPushButton* BtnReplacer = nullptr;
    QPushButton* BtnSupp = nullptr;

  private:
    void buildMenus(QMainWindow& window);
    void buildLeftSide(QMainWindow& window, QWidget* client);
    void buildEditor(QWidget* client);
    void buildHiddenControls(QWidget* client);
};

} // namespace quorel
