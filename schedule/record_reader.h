#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorel {

// Reads records back from the bytes of a file (Windows-1252), field by field:
// - fields are separated by commas or line ends (CR LF, CR or LF); blank lines are skipped;
// - blanks (spaces, tabs) before a field are skipped;
// - a field that begins with a double quote is the text up to the next double quote, and
//   anything after the closing quote up to the next separator is skipped;
// - any other field is the text up to the next separator, without trailing blanks.
// A record is the requested number of consecutive fields, so fields may be unquoted or spread
// over several lines. Fields come back as UTF-8.
class RecordReader {
  public:
    explicit RecordReader(std::string_view bytes) : bytes_(bytes) {}

    // The next record, or nullopt when the bytes end before it is complete (nothing left, or a
    // last record cut short, including a quote left open).
    std::optional<std::vector<std::string>> next(int fieldCount);

  private:
    enum class Separator { None, Comma, LineEnd, End };

    bool atEnd() const { return position_ >= bytes_.size(); }
    char peek() const { return bytes_[position_]; }
    bool atLineEnd() const { return !atEnd() && (peek() == '\r' || peek() == '\n'); }
    void skipBlanks();
    void skipLineEnd();
    Separator consumeSeparator();
    std::optional<std::string> readField(bool skipBlankLines);

    std::string_view bytes_;
    size_t position_ = 0;
};

} // namespace quorel
