#include "tests/support/open_files.h"

#include <filesystem>

namespace quorel::test {

int openFileCount() {
    int count = 0;
    for ([[maybe_unused]] const auto& entry :
         std::filesystem::directory_iterator("/proc/self/fd")) {
        ++count;
    }
    return count;
}

} // namespace quorel::test
