#include "platform/windows/message_loop.h"

#include "platform/windows/loop_handles.h"

#include <windows.h>

namespace quorel {

namespace {

constexpr int kMessagesPerTurn = 64;

} // namespace

int runMessageLoop(HWND dialogWindow) {
    MSG message{};
    for (;;) {
        // The objects watched with the messages (a named pipe's operations), then the messages
        // waiting, a bounded number a turn: neither holds the other up.
        waitForLoopInput();
        runSignalledLoopHandles();
        for (int count = 0;
             count < kMessagesPerTurn && ::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);
             ++count) {
            if (message.message == WM_QUIT) {
                return static_cast<int>(message.wParam);
            }
            if (dialogWindow != nullptr && ::IsDialogMessageW(dialogWindow, &message)) {
                continue;
            }
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    }
}

void quitMessageLoop(int exitCode) {
    ::PostQuitMessage(exitCode);
}

} // namespace quorel
