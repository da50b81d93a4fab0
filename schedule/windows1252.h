#pragma once

#include <string>
#include <string_view>

namespace quorel {

// The program keeps text as UTF-8 and stores it in files as Windows-1252 bytes, so files made on
// Windows read the same here.

// A character that has no Windows-1252 byte (or a broken UTF-8 sequence) becomes "?".
std::string utf8ToWindows1252(std::string_view utf8);
std::string windows1252ToUtf8(std::string_view bytes);

} // namespace quorel
