#pragma once

#include "platform/dialogs.h"
#include "ui/closed_periods_editor.h"

#include <QDialog>

class QDateEdit;
class QLineEdit;
class QTreeWidget;

namespace quorel {

// The dialog "Jours sans sonnerie": the periods sorted by start date (those over greyed), fields
// to add one, the public holidays, and "Enregistrer" / "Annuler". It is accepted once the
// periods are saved; a refused period or a failed save is said in a message box.
class DaysWithoutBellsDialog final : public QDialog {
  public:
    DaysWithoutBellsDialog(ClosedPeriodsEditor& editor, LocalDate today, std::string path,
                           Dialogs& dialogs, QWidget* parent = nullptr);

  private:
    void showPeriods();
    void addPeriod();
    void removePeriod();
    void addPublicHolidays();
    void save();

    ClosedPeriodsEditor& editor_;
    LocalDate today_;
    std::string path_;
    Dialogs& dialogs_;
    QTreeWidget* periods_;
    QDateEdit* from_;
    QDateEdit* to_;
    QLineEdit* label_;
};

} // namespace quorel
