#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace quorel::test {

// A fresh folder under the system's temporary folder, removed with everything in it at the end of
// the test. path() ends in "/".
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
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
