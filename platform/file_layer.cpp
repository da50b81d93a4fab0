#include "platform/file_layer.h"

namespace quorel {

namespace {

class SystemFiles final : public FileLayer {
  public:
    std::optional<FileStamp> stamp(const std::string& path) override { return fileStamp(path); }
    bool exists(const std::string& path) override { return FileExists(path); }
    FileReadResult read(const std::string& path, int64_t maxBytes) override {
        return readWholeFile(path, maxBytes);
    }
    std::string replace(const std::string& path, std::string_view bytes) override {
        return replaceFileContent(path, bytes);
    }
    FileReadResult tail(const std::string& path, int64_t maxBytes) override {
        return readFileTail(path, maxBytes);
    }
    std::string remove(const std::string& folder, const std::string& name) override {
        return removeFileIn(folder, name);
    }
};

} // namespace

FileLayer& systemFiles() {
    static SystemFiles files;
    return files;
}

} // namespace quorel
