#pragma once

#include <filesystem>
#include <iterator>
#ifdef _WIN32
#include <windows.h>
#endif

namespace quorel::test {

// How many files the test process holds open (on Windows: handles of any kind), to prove that no
// call leaves one open.
inline int openFileCount() {
#ifdef _WIN32
    DWORD handles = 0;
    ::GetProcessHandleCount(::GetCurrentProcess(), &handles);
    return static_cast<int>(handles);
#else
    const auto entries = std::filesystem::directory_iterator("/proc/self/fd");
    return static_cast<int>(std::distance(begin(entries), end(entries)));
#endif
}

} // namespace quorel::test
