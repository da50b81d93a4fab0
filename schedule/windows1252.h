#pragma once

#include <string>
#include <string_view>

namespace quorel {

// The program keeps text as UTF-8 and stores it in files as Windows-1252 bytes, so files made on
// Windows read the same here.

// A character that has no Windows-1252 byte (or a broken UTF-8 sequence) becomes "?".
std::string utf8ToWindows1252(std::string_view utf8);
std::string windows1252ToUtf8(std::string_view bytes);
// The text of a file that says it is UTF-8 (it begins with a byte-order mark): its bytes as they
// are, except that a byte that is not part of a valid UTF-8 sequence is read as Windows-1252, so
// that the text stays valid UTF-8.
std::string markedUtf8ToUtf8(std::string_view bytes);

} // namespace quorel
