#include "schedule/record_reader.h"

#include "schedule/windows1252.h"

#include <algorithm>

namespace quorel {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kBlanks = " \t";

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// The first fieldCount fields of a line, or nullopt when it holds fewer or leaves a quote open.
// After each field, at stands on the comma that ends it or at the end of the line.
std::optional<std::vector<std::string>> lineFields(std::string_view line, int fieldCount,
                                                   bool utf8) {
    std::vector<std::string> fields;
    fields.reserve(static_cast<size_t>(fieldCount));
    size_t at = 0;
    for (int i = 0; i < fieldCount; ++i) {
        if (i > 0) {
            if (at >= line.size()) {
                return std::nullopt;
            }
            ++at;
        }
        while (at < line.size() && isBlank(line[at])) {
            ++at;
        }
        std::string_view raw;
        if (at < line.size() && line[at] == '"') {
            const size_t close = line.find('"', at + 1);
            if (close == std::string_view::npos) {
                return std::nullopt;
            }
            raw = line.substr(at + 1, close - at - 1);
            at = std::min(line.find(',', close + 1), line.size());
        } else {
            const size_t end = std::min(line.find(',', at), line.size());
            raw = line.substr(at, end - at);
            while (!raw.empty() && isBlank(raw.back())) {
                raw.remove_suffix(1);
            }
            at = end;
        }
        fields.push_back(utf8 ? markedUtf8ToUtf8(raw) : windows1252ToUtf8(raw));
    }
    return fields;
}

} // namespace

RecordReader::RecordReader(std::string_view bytes) : bytes_(bytes) {
    // Notepad starts the files it saves as UTF-8 with this mark.
    if (bytes_.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
        position_ = kByteOrderMark.size();
        utf8_ = true;
    }
}

std::optional<std::string_view> RecordReader::nextLine() {
    if (position_ >= bytes_.size()) {
        return std::nullopt;
    }
    // A plain loop: find_first_of would search the two line ends once for every byte.
    size_t end = position_;
    while (end < bytes_.size() && bytes_[end] != '\r' && bytes_[end] != '\n') {
        ++end;
    }
    const std::string_view line = bytes_.substr(position_, end - position_);
    position_ = end;
    if (position_ < bytes_.size() && bytes_[position_] == '\r') {
        ++position_;
    }
    if (position_ < bytes_.size() && bytes_[position_] == '\n') {
        ++position_;
    }
    return line;
}

std::optional<std::vector<std::string>> RecordReader::next(int fieldCount) {
    while (const auto line = nextLine()) {
        if (line->find_first_not_of(kBlanks) == std::string_view::npos) {
            continue;
        }
        if (auto fields = lineFields(*line, fieldCount, utf8_)) {
            return fields;
        }
    }
    return std::nullopt;
}

} // namespace quorel
