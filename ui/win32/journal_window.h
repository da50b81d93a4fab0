#pragma once

#include "ui/journal_viewer.h"
#include "ui/win32/described_dialog.h"

namespace quorel {

// The dialog "Journal", as described by journalDescription(): the viewer's lines read only in a
// fixed-width type, scrolled to the last one, and the day chosen in its date field forwarded;
// "Ouvrir le dossier" opens the viewer's folder in the file manager.
class JournalWindow final : public DescribedDialog {
  public:
    JournalWindow(JournalViewer& viewer, HWND owner);

  protected:
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    void raise(JournalEvent event, HWND source);
    void showLines();

    JournalViewer& viewer_;
};

// Shows the dialog modally over a window.
class JournalOnScreen final : public JournalScreen {
  public:
    explicit JournalOnScreen(HWND owner) : owner_(owner) {}
    void show(JournalViewer& viewer) override {
        JournalWindow dialog(viewer, owner_);
        dialog.run();
    }

  private:
    HWND owner_;
};

} // namespace quorel
