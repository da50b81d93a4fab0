#pragma once

#include "platform/file_io.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quorel {

// The file operations of the scheduler's reloads and of the settings file, behind an interface:
// the program uses the system's files, and a test can stand a slow or failing disk in for them.
class FileLayer {
  public:
    virtual ~FileLayer() = default;
    [[nodiscard]] virtual std::optional<FileStamp> stamp(const std::string& path) = 0;
    // As FileExists.
    [[nodiscard]] virtual bool exists(const std::string& path) = 0;
    // As readWholeFile: a file over maxBytes is refused.
    [[nodiscard]] virtual FileReadResult read(const std::string& path, int64_t maxBytes) = 0;
    // As replaceFileContent: the system's reason on failure, or an empty text.
    [[nodiscard]] virtual std::string replace(const std::string& path, std::string_view bytes) = 0;
};

// The system's own files, through the functions of file_io.h.
FileLayer& systemFiles();

} // namespace quorel
