#include "platform/windows/message_loop.h"

#include <windows.h>

namespace quorel {

int runMessageLoop(HWND dialogWindow) {
    MSG message{};
    for (;;) {
        const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) {
            return static_cast<int>(message.wParam);
        }
        if (got < 0) {
            return 1;
        }
        if (dialogWindow != nullptr && ::IsDialogMessageW(dialogWindow, &message)) {
            continue;
        }
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

void quitMessageLoop(int exitCode) {
    ::PostQuitMessage(exitCode);
}

} // namespace quorel
