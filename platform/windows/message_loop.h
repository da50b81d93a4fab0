#pragma once

struct HWND__;

namespace quorel {

// Runs the thread's message loop until WM_QUIT and returns its exit code; the objects watched
// with watchLoopHandle are handled along with the messages. The keys meant for dialogWindow,
// when one is given, move between its controls (Tab, arrows, Enter) as in a dialog box.
int runMessageLoop(HWND__* dialogWindow = nullptr);

// Makes the thread's message loop return exitCode once the messages before are handled.
void quitMessageLoop(int exitCode);

} // namespace quorel
