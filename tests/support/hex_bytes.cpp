#include "tests/support/hex_bytes.h"

#include <cstdio>

namespace quorel::test {

std::string hexBytes(std::string_view bytes) {
    std::string out;
    char pair[4];
    for (unsigned char c : bytes) {
        std::snprintf(pair, sizeof pair, out.empty() ? "%02X" : " %02X", c);
        out += pair;
    }
    return out;
}

} // namespace quorel::test
