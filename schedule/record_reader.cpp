#include "schedule/record_reader.h"

#include "schedule/windows1252.h"

namespace quorel {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

} // namespace

void RecordReader::skipBlanks() {
    while (!atEnd() && isBlank(peek())) {
        ++position_;
    }
}

void RecordReader::skipLineEnd() {
    if (!atEnd() && peek() == '\r') {
        ++position_;
    }
    if (!atEnd() && peek() == '\n') {
        ++position_;
    }
}

RecordReader::Separator RecordReader::consumeSeparator() {
    if (atEnd()) {
        return Separator::End;
    }
    if (peek() == ',') {
        ++position_;
        return Separator::Comma;
    }
    skipLineEnd();
    return Separator::LineEnd;
}

std::optional<std::string> RecordReader::readField(bool skipBlankLines) {
    skipBlanks();
    while (skipBlankLines && atLineEnd()) {
        skipLineEnd();
        skipBlanks();
    }
    if (atEnd()) {
        return std::nullopt;
    }
    std::string_view raw;
    if (peek() == '"') {
        const size_t start = position_ + 1;
        const size_t close = bytes_.find('"', start);
        if (close == std::string_view::npos) {
            position_ = bytes_.size();
            return std::nullopt;
        }
        raw = bytes_.substr(start, close - start);
        position_ = close + 1;
        while (!atEnd() && peek() != ',' && !atLineEnd()) {
            ++position_;
        }
    } else {
        const size_t start = position_;
        while (!atEnd() && peek() != ',' && !atLineEnd()) {
            ++position_;
        }
        raw = bytes_.substr(start, position_ - start);
        while (!raw.empty() && isBlank(raw.back())) {
            raw.remove_suffix(1);
        }
    }
    return windows1252ToUtf8(raw);
}

std::optional<std::vector<std::string>> RecordReader::next(int fieldCount) {
    std::vector<std::string> fields;
    fields.reserve(static_cast<size_t>(fieldCount > 0 ? fieldCount : 0));
    // A line end before a field's first character ends an empty field after a comma, but is a
    // blank line to skip at the start of a record or after a line end.
    bool afterLineEnd = true;
    for (int i = 0; i < fieldCount; ++i) {
        auto field = readField(afterLineEnd);
        if (!field) {
            return std::nullopt;
        }
        fields.push_back(std::move(*field));
        afterLineEnd = consumeSeparator() != Separator::Comma;
    }
    return fields;
}

} // namespace quorel
