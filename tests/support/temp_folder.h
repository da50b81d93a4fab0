#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>
#include <string>
#include <string_view>

namespace quorel::test {

// A fresh folder under the system's temporary folder, removed with everything in it at the end of
// the test. path() ends in "/".
class TempFolder {
  public:
    TempFolder() {
        namespace fs = std::filesystem;
        std::random_device seed;
        std::mt19937_64 random(seed());
        for (int attempt = 0; attempt < 100; ++attempt) {
            const fs::path folder =
                fs::temp_directory_path() / ("quorel-test-" + std::to_string(random()));
            if (fs::create_directory(folder)) {
                fs::permissions(folder, fs::perms::owner_all); // private, as mkdtemp makes it
                path_ = folder.string() + "/";
                return;
            }
        }
        throw std::runtime_error("cannot create a temporary folder");
    }
    ~TempFolder() {
        namespace fs = std::filesystem;
        // Tests may leave read-only folders behind; make them writable so they can go.
        std::error_code ignored;
        fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ignored);
        for (auto it = fs::recursive_directory_iterator(path_, ignored);
             it != fs::recursive_directory_iterator(); it.increment(ignored)) {
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
        }
        fs::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string file(std::string_view name) const { return path_ + std::string(name); }
    void write(std::string_view name, std::string_view bytes) const {
        std::ofstream(file(name), std::ios::binary) << bytes;
    }
    std::string read(std::string_view name) const {
        std::ifstream in(file(name), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    bool exists(std::string_view name) const { return std::filesystem::exists(file(name)); }

  private:
    std::string path_;
};

} // namespace quorel::test
