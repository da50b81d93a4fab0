#pragma once

#include "core/form.h"

class QWidget;

namespace quorel {

// Shows a form as a modal dialog over parent, drawn by a FormRenderer, until the form has ended.
// Escape and the dialog's close box stand for a click of its cancel button. A resizable form's
// dialog may grow beyond its described size. A folder opens in the desktop's file manager.
class QtFormScreen final : public FormScreen {
  public:
    explicit QtFormScreen(QWidget* parent = nullptr) : parent_(parent) {}
    void show(Form& form) override;
    void openFolder(const std::string& folder) override;

  private:
    QWidget* parent_;
};

} // namespace quorel
