#pragma once

#include <string>
#include <string_view>

namespace quorel {

struct FileReadResult {
    bool ok = false;
    std::string bytes;
    std::string error; // the system's reason when !ok
};

// Reads a whole file; the file is closed again before the call returns.
FileReadResult readWholeFile(const std::string& path);

// Replaces the file's content with bytes, or creates it. The bytes go to a temporary file in the
// same folder, which is then renamed over the file: the previous content is never lost, even if
// the disk fills up or the write fails half-way. Returns the system's reason on failure, or an
// empty text on success.
std::string replaceFileContent(const std::string& path, std::string_view bytes);

// The system's text for an errno value.
std::string systemErrorText(int errorNumber);

} // namespace quorel
