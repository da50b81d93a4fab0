#pragma once

#include <cstdint>
#include <string>

namespace quorel {

// Holds a data folder for one running copy of the program, so that a second copy started on the
// same folder can tell and stand back instead of saving the same files over the first one's. The
// system lets go of the hold when the program ends, however it ends: the lock file that a copy
// killed half-way leaves behind does not count.
// The lock file in the data folder: hidden by its dot on Linux, by its attribute on Windows.
#ifdef _WIN32
inline constexpr const char* kFolderLockName = "Quorel.lock";
#else
inline constexpr const char* kFolderLockName = ".Quorel.lock";
#endif

class FolderLock {
  public:
    FolderLock() = default;
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    // False when another running copy holds folder. A folder in which no lock file can be made
    // counts as free: the bells must not stop for want of a lock.
    [[nodiscard]] bool take(const std::string& folder);

  private:
    intptr_t handle_ = -1;
};

} // namespace quorel
