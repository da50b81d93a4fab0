#include "platform/file_io.h"

namespace quorel {

std::string tooLargeFileText(int64_t maxBytes) {
    constexpr int64_t kKibibyte = 1024;
    std::string bound;
    if (maxBytes >= kKibibyte * kKibibyte && maxBytes % (kKibibyte * kKibibyte) == 0) {
        bound = std::to_string(maxBytes / (kKibibyte * kKibibyte)) + " Mio";
    } else if (maxBytes >= kKibibyte && maxBytes % kKibibyte == 0) {
        bound = std::to_string(maxBytes / kKibibyte) + " Kio";
    } else {
        bound = std::to_string(maxBytes) + " octets";
    }
    return "fichier trop volumineux (plus de " + bound + ")";
}

} // namespace quorel
