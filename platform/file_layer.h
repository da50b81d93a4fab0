#pragma once

#include "platform/file_io.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quorel {

// The file operations of the scheduler's reloads, of the settings file and of the editors, behind
// an interface: the program uses the system's files, a console the station's through its
// channel, and a test can stand a slow or failing disk in for them.
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
    // As readFileTail.
    [[nodiscard]] virtual FileReadResult tail(const std::string& path, int64_t maxBytes) = 0;
    // As removeFileIn.
    [[nodiscard]] virtual std::string remove(const std::string& folder,
                                             const std::string& name) = 0;
};

// The system's own files, through the functions of file_io.h.
FileLayer& systemFiles();

} // namespace quorel
