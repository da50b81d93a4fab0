#pragma once

#include <filesystem>
#include <iterator>

namespace quorel::test {

// How many file descriptors the test process holds open, to prove that no call leaves one open.
inline int openFileCount() {
    const auto entries = std::filesystem::directory_iterator("/proc/self/fd");
    return static_cast<int>(std::distance(begin(entries), end(entries)));
}

} // namespace quorel::test
