#include "ui/win32/form_screen.h"

#include "platform/windows/wide_text.h"
#include "ui/win32/form_window.h"

#include <shellapi.h>

namespace quorel {

void Win32FormScreen::show(Form& form) {
    FormWindow dialog;
    dialog.open(form.description(), owner_, FormWindow::Frame::Dialog);
    dialog.bind(&form);
    dialog.runModal();
}

void Win32FormScreen::openFolder(const std::string& folder) {
    ::ShellExecuteW(owner_, L"open", toWide(folder).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

} // namespace quorel
