#pragma once

#include <string>

namespace quorel {

// The program's texts and paths are UTF-8; the Windows API takes UTF-16. A text that is not
// valid UTF-8 converts as well as it can (invalid bytes become U+FFFD).
std::wstring toWide(const std::string& utf8);
std::string fromWide(const std::wstring& wide);

// The system's text for a Windows error code (GetLastError, a registry result), without its
// trailing line break; "erreur <n>" when the system has none.
std::string windowsErrorText(unsigned long errorCode);

} // namespace quorel
