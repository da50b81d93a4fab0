#pragma once

#include "ui/journal_viewer.h"

#include <QDialog>

class QDateEdit;
class QPlainTextEdit;

namespace quorel {

// The dialog "Journal", as described by journalDescription(): it shows the viewer's lines from
// their end, read only, and forwards the day chosen in its date field; "Ouvrir le dossier" opens
// the viewer's folder in the file manager.
class JournalDialog final : public QDialog {
  public:
    JournalDialog(JournalViewer& viewer, QWidget* parent = nullptr);

  private:
    void connectEvent(JournalEvent event, QWidget* source);
    void showLines();

    JournalViewer& viewer_;
    QDateEdit* date_;
    QPlainTextEdit* lines_;
};

} // namespace quorel
