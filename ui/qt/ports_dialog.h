#pragma once

#include "ui/ports_form.h"

#include <QDialog>
#include <array>

class QComboBox;
class QLabel;

namespace quorel {

// The dialog "Ports", as described by portsDescription(): it shows its form, forwards its edits
// and clicks to it, and closes once the form has ended.
class PortsDialog final : public QDialog {
  public:
    PortsDialog(PortsForm& form, QWidget* parent = nullptr);

  private:
    void clicked(PortsEvent event);
    void showForm();

    PortsForm& form_;
    std::array<QComboBox*, kPortOptions> devices_{};
    QLabel* detection_;
    // Set while the dialog writes into its own fields, whose changes are then no edits.
    bool showing_ = false;
};

} // namespace quorel
