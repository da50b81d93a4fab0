#include "platform/windows/loop_handles.h"

#include <algorithm>
#include <vector>
#include <windows.h>

namespace quorel {

namespace {

struct Watched {
    HANDLE handle;
    std::function<void()> onSignalled;
};

// Per thread: each loop waits for the objects of its own thread.
thread_local std::vector<Watched> watched;

} // namespace

void watchLoopHandle(void* handle, std::function<void()> onSignalled) {
    unwatchLoopHandle(handle);
    watched.push_back(Watched{handle, std::move(onSignalled)});
}

void unwatchLoopHandle(void* handle) {
    std::erase_if(watched, [handle](const Watched& w) { return w.handle == handle; });
}

void runSignalledLoopHandles() {
    // A handler may watch or unwatch objects: the handles are taken first, and each one looked up
    // again before its handler runs.
    std::vector<HANDLE> handles;
    for (const Watched& w : watched) {
        handles.push_back(w.handle);
    }
    for (HANDLE handle : handles) {
        auto it = std::find_if(watched.begin(), watched.end(),
                               [handle](const Watched& w) { return w.handle == handle; });
        if (it != watched.end() && ::WaitForSingleObject(handle, 0) == WAIT_OBJECT_0) {
            const std::function<void()> handler = it->onSignalled; // which may unwatch itself
            handler();
        }
    }
}

bool waitForLoopInput(void* extra) {
    std::vector<HANDLE> handles;
    if (extra != nullptr) {
        handles.push_back(extra);
    }
    for (const Watched& w : watched) {
        if (handles.size() < MAXIMUM_WAIT_OBJECTS - 1) {
            handles.push_back(w.handle);
        }
    }
    const DWORD woken =
        ::MsgWaitForMultipleObjectsEx(static_cast<DWORD>(handles.size()), handles.data(), INFINITE,
                                      QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    if (woken == WAIT_FAILED) {
        ::Sleep(1); // never spins, whatever the system says
        return true;
    }
    return extra != nullptr && ::WaitForSingleObject(extra, 0) == WAIT_OBJECT_0;
}

} // namespace quorel
