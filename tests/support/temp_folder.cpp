#include "tests/support/temp_folder.h"

#include <cstdlib>
#include <stdexcept>

namespace quorel::test {

namespace fs = std::filesystem;

TempFolder::TempFolder() {
    std::string pattern = fs::temp_directory_path() / "quorel-test-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a temporary folder");
    }
    path_ = pattern + "/";
}

TempFolder::~TempFolder() {
    // Tests may leave read-only folders behind; make them writable so they can go.
    std::error_code ignored;
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ignored);
    for (auto it = fs::recursive_directory_iterator(path_, ignored);
         it != fs::recursive_directory_iterator(); it.increment(ignored)) {
        fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
    }
    fs::remove_all(path_, ignored);
}

} // namespace quorel::test
