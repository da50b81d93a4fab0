#pragma once

#include <string>

namespace quorel {

// True when path names an existing ordinary file that is not hidden (on Linux: its name does not
// begin with a dot) and is not a folder. A path that is blank once its leading and trailing
// blanks are removed, and any failure of the look-up, give false; it never reports an error.
bool FileExists(const std::string& path);

} // namespace quorel
