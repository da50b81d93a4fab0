#pragma once

#include "ui/special_timetables.h"

#include <QDialog>

class QComboBox;
class QDateEdit;
class QLineEdit;
class QListWidget;
class QTreeWidget;

namespace quorel {

// The dialog "Horaires particuliers", as described by specialTimetablesDescription(): it shows
// its form, forwards its edits and clicks to it, and closes once the form has ended.
class SpecialTimetablesDialog final : public QDialog {
  public:
    SpecialTimetablesDialog(SpecialTimetablesForm& form, QWidget* parent = nullptr);

  private:
    void clicked(SpecialTimetablesEvent event);
    void showForm();

    SpecialTimetablesForm& form_;
    QListWidget* timetables_;
    QLineEdit* name_;
    QTreeWidget* periods_;
    QDateEdit* from_;
    QDateEdit* to_;
    QComboBox* timetable_;
    // Set while the dialog writes into its own controls, whose changes are then no edits.
    bool showing_ = false;
};

} // namespace quorel
