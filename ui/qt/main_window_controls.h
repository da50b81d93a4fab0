#pragma once

#include "ui/main_window_description.h"

#include <array>
#include <utility>
#include <vector>

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
class QObject;
class QPushButton;
class QRadioButton;
class QTreeView;
class QWidget;

namespace quorel {

// The menus and controls of the window F1, built from its description (mainWindowDescription)
// at their design places (twips, 15 to a pixel). Each control's objectName is its name, with
// "_<index>" for an element of a control array. The window owns them, as their Qt parent; these
// are the handles the window works through.
struct MainWindowControls {
    // Builds the menus of window and the controls of its client area, its central widget.
    explicit MainWindowControls(QMainWindow& window);

    // Each described control and menu item with the Qt object built for it, in the order of the
    // description.
    std::vector<std::pair<const MainWindowControl*, QWidget*>> built;
    std::vector<std::pair<const MenuItemDescription<WindowEvent, ViewPart>*, QAction*>> items;

    QAction* mnuautorun = nullptr;
    QMenu* mnuJour = nullptr;

    QButtonGroup* portGroup = nullptr;
    std::array<QRadioButton*, 5> PortCom{};
    QLabel* LblHeure = nullptr;
    QLabel* LblProchaine = nullptr;
    std::array<QCheckBox*, 4> CheckS{};
    std::array<QFrame*, 4> LedOut{};
    std::array<QLabel*, 4> LblTemp{};
    std::array<QLabel*, 4> LblMaxi{};
    std::array<QPushButton*, 2> CmdRelais{};
    QLabel* InfoERR = nullptr;

    QComboBox* ComboS = nullptr;
    std::array<QLineEdit*, 2> ChDecoupe{};
    QLineEdit* ChDure = nullptr;
    QTreeView* Quorel = nullptr;
    QListWidget* JourSemaine = nullptr;
    std::array<QLineEdit*, 3> ChEdit{};

  private:
    void buildMenus(QMainWindow& window);
    QWidget* build(const MainWindowControl& control, QMainWindow& window, QWidget* parent);
    void bindHandles(QWidget* client);
};

} // namespace quorel
