#include "station/channel_lines.h"

#include <cstdint>
#include <cstdlib>
#include <string>

// Feeds arbitrary bytes, cut in chunks, to the reader of a console's messages: it must never take
// a line over its bound, every message it gives must be an object that survives being written
// and read again, and Base64 text must decode to bytes that encode back to it.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    const size_t chunk = 1 + data[0] % 64;
    const std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    constexpr size_t kBound = 256;
    quorel::ChannelLines lines(kBound);
    for (size_t at = 0; at < bytes.size(); at += chunk) {
        lines.add(std::string_view(bytes).substr(at, chunk));
        while (std::optional<quorel::Message> message = lines.next()) {
            if (!message->is_object()) {
                std::abort();
            }
            quorel::ChannelLines again(SIZE_MAX);
            again.add(quorel::messageLine(*message));
            const std::optional<quorel::Message> reread = again.next();
            // Compared as text: a number too large for a double reads as one that writes null.
            if (!reread || reread->dump() != message->dump()) {
                std::abort();
            }
        }
        if (lines.pendingBytes() > kBound + chunk && lines.fault().empty()) {
            std::abort();
        }
    }
    if (const std::optional<std::string> decoded = quorel::decodeBytes(bytes)) {
        if (quorel::encodeBytes(*decoded) != bytes) {
            std::abort();
        }
    }
    return 0;
}
