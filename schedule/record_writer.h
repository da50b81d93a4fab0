#pragma once

#include <string>
#include <variant>
#include <vector>

namespace quorel {

// A field of a record: a text (UTF-8), written in double quotes, or a number, written bare.
using RecordField = std::variant<std::string, long long>;

// Appends one record to the bytes of a file: fields separated by commas, text fields in double
// quotes, numbers as bare decimal digits, the record ended by CR LF. Texts are converted to
// Windows-1252. There is no escape: a field never holds a double quote or a line break.
void writeRecord(std::string& bytes, const std::vector<RecordField>& fields);

} // namespace quorel
