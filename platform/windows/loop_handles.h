#pragma once

#include <functional>

namespace quorel {

// The kernel objects that the thread's message loop waits for along with its messages: the
// message loop (runMessageLoop), the pauses of MessageLoopClock and Win32EventPump::yield run
// the handler of each one that is signalled, on the thread that watches it. Each must be a
// manual-reset object that its handler resets (by starting a new operation on it, or at once),
// or the handler runs again and again. A modal loop (a message box's) does not run them.
void watchLoopHandle(void* handle, std::function<void()> onSignalled);
void unwatchLoopHandle(void* handle);

// Runs the handler of each watched object signalled now, without waiting.
void runSignalledLoopHandles();

// Waits until a message is in the thread's queue or a watched object, or extra when given, is
// signalled; runs no handler. True when extra is signalled, or when the wait failed (after a
// millisecond, so that a caller never spins).
bool waitForLoopInput(void* extra = nullptr);

} // namespace quorel
