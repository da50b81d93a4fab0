#include "schedule/record_reader.h"
#include "schedule/record_writer.h"
#include "schedule/windows1252.h"

#include <cstdint>
#include <cstdlib>
#include <string>

// Reads arbitrary bytes as records of 1 to 4 fields; every record read must survive a write and a
// second read unchanged, as long as its fields hold no quote (a field never holds a line end) and,
// read from UTF-8 bytes, no character that Windows-1252 lacks.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    const int fieldCount = 1 + data[0] % 4;
    const std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    quorel::RecordReader reader(bytes);
    while (auto record = reader.next(fieldCount)) {
        bool writable = true;
        std::vector<quorel::RecordField> fields;
        for (const std::string& field : *record) {
            writable = writable && field.find('"') == std::string::npos &&
                       quorel::windows1252ToUtf8(quorel::utf8ToWindows1252(field)) == field;
            fields.emplace_back(field);
        }
        if (!writable) {
            continue;
        }
        std::string written;
        quorel::writeRecord(written, fields);
        quorel::RecordReader again(written);
        auto reread = again.next(fieldCount);
        // Leading blanks of a quoted field are kept; the reader must give back exactly the texts.
        if (!reread || *reread != *record) {
            std::abort();
        }
    }
    return 0;
}
