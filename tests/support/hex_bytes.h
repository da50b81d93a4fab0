#pragma once

#include <string>
#include <string_view>

namespace quorel::test {

// The bytes of a text written as hex pairs ("22 32 22 0D 0A"), for readable byte-exact checks.
std::string hexBytes(std::string_view bytes);

} // namespace quorel::test
