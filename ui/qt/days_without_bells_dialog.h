#pragma once

#include "ui/days_without_bells.h"

#include <QDialog>

class QDateEdit;
class QLineEdit;
class QTreeWidget;

namespace quorel {

// The dialog "Jours sans sonnerie", as described by daysWithoutBellsDescription(): it shows its
// form, forwards its edits and clicks to it, and closes once the form has ended, accepted when
// the periods were saved.
class DaysWithoutBellsDialog final : public QDialog {
  public:
    DaysWithoutBellsDialog(DaysWithoutBellsForm& form, QWidget* parent = nullptr);

  private:
    void connectEvent(DaysWithoutBellsEvent event, QWidget* source);
    // Hands a click to the form, then shows what it holds.
    void clicked(DaysWithoutBellsEvent event);
    void showForm();

    DaysWithoutBellsForm& form_;
    QTreeWidget* periods_;
    QDateEdit* from_;
    QDateEdit* to_;
    QLineEdit* label_;
};

} // namespace quorel
