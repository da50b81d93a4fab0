#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorel {

// Reads records back from the bytes of a file, one record per line:
// - the bytes are Windows-1252, unless they begin with a UTF-8 byte-order mark (a file saved as
//   UTF-8 by Notepad): then the mark is dropped and the rest is read as UTF-8;
// - lines end at CR LF, CR or LF; blank lines are skipped;
// - fields are separated by commas; blanks (spaces, tabs) before a field are skipped;
// - a field that begins with a double quote is the text up to the next double quote on the same
//   line, and anything after the closing quote up to the next comma or line end is skipped;
// - any other field is the text up to the next comma or line end, without trailing blanks.
// A line with fewer fields than requested, or with a quote left open, is skipped, so that one bad
// line costs only itself; fields beyond the requested number (a hand-written label) are ignored.
// Fields come back as UTF-8.
class RecordReader {
  public:
    explicit RecordReader(std::string_view bytes);

    // The first fieldCount fields of the next line that holds them, or nullopt when the bytes end
    // before such a line.
    std::optional<std::vector<std::string>> next(int fieldCount);

  private:
    // The next line without its line end, or nullopt at the end of the bytes.
    std::optional<std::string_view> nextLine();

    std::string_view bytes_;
    size_t position_ = 0;
    bool utf8_ = false; // the bytes began with a byte-order mark
};

} // namespace quorel
