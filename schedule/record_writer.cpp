#include "schedule/record_writer.h"

#include "schedule/windows1252.h"

namespace quorel {

void writeRecord(std::string& bytes, const std::vector<RecordField>& fields) {
    bool first = true;
    for (const RecordField& field : fields) {
        if (!first) {
            bytes += ',';
        }
        first = false;
        if (const auto* text = std::get_if<std::string>(&field)) {
            bytes += '"';
            bytes += utf8ToWindows1252(*text);
            bytes += '"';
        } else {
            bytes += std::to_string(std::get<long long>(field));
        }
    }
    bytes += "\r\n";
}

} // namespace quorel
