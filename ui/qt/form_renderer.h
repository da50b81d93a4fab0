#pragma once

#include "core/form.h"

#include <QObject>
#include <QRect>
#include <functional>
#include <string_view>
#include <vector>

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

namespace quorel {

// Draws any described window or dialog with Qt widgets and drives its form. It builds the
// controls on a client widget at their described places, the menus on a menu bar or as pop-ups,
// hands every action of the operator to the form, and then shows what the form's values changed
// since it last drew them. A resizable description's controls follow their anchors as the client
// grows.
class FormRenderer final : public QObject {
    Q_OBJECT

  public:
    // menuBar takes the menus described on a bar; it may be none when there are none.
    FormRenderer(FormDescription description, QWidget& client, QMenuBar* menuBar);
    ~FormRenderer() override;

    // The form the controls report to and show; none: the operator's actions go nowhere. The
    // form's redrawNow draws it while it is bound.
    void bind(Form* form);

    // Shows every value the form sets that changed since it was last drawn; or only those of
    // the controls and menu items whose content is part.
    void draw();
    void draw(int part);

    // Opens the pop-up menu of that name at the pointer, and returns once it is closed.
    void popUp(std::string_view menu);
    // Hands the click of that button to the form, as if the operator had clicked it.
    void click(std::string_view button);

    // Runs after an action at whose end the form has ended.
    std::function<void()> onEnded;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildMenus(QMenuBar* menuBar);
    void wire(size_t control);
    void wireMenuItem(size_t item);
    // An action of the operator, unless it echoes what the renderer is drawing.
    void act(const ControlInput& input);
    void hand(const ControlInput& input);
    // Notes what the operator's action already shows on the control.
    void noteShown(const ControlInput& input);
    void drawEach(const std::function<bool(const std::optional<int>& content)>& drawn);
    void followAnchors();

    FormDescription description_;
    QWidget& client_;
    Form* form_ = nullptr;
    std::vector<QWidget*> widgets_;
    std::vector<QRect> places_; // as built, in pixels
    std::vector<ControlValue> shown_;
    std::vector<QAction*> actions_;
    std::vector<ControlValue> shownItems_;
    std::vector<QMenu*> menus_;
    // Set while the renderer changes its own controls, whose signals are then no actions.
    int drawing_ = 0;
};

} // namespace quorel
