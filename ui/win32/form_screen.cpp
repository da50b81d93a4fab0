#include "ui/win32/form_screen.h"

#include "ui/win32/form_window.h"

namespace quorel {

void Win32FormScreen::show(Form& form) {
    FormWindow dialog;
    dialog.open(form, owner_, FormWindow::Frame::Dialog);
    dialog.runModal();
}

} // namespace quorel
