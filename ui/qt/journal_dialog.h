#pragma once

#include "platform/clock.h"

#include <QDialog>
#include <string>

class QDateEdit;
class QPlainTextEdit;

namespace quorel {

// The dialog "Journal": the lines of the day picked in its date field (today at first), newest at
// the bottom, read only, and a button that opens the journal's folder in the file manager.
class JournalDialog final : public QDialog {
  public:
    JournalDialog(std::string folder, LocalDate today, QWidget* parent = nullptr);

  private:
    void showDay();

    std::string folder_;
    QDateEdit* date_;
    QPlainTextEdit* lines_;
};

} // namespace quorel
