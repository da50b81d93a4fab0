#pragma once

#include <algorithm>
#include <cstddef>
#include <string_view>

namespace quorel {

// A file is saved through a temporary beside it, named ".<file name>.quorel-tmp-XXXXXX" (six
// letters or digits), so that one left by a save that was killed half-way can be recognised.
inline constexpr std::string_view kTemporaryMark = ".quorel-tmp-";
inline constexpr size_t kTemporaryRandomLength = 6;

inline bool isTemporaryName(std::string_view name) {
    const size_t minimum = 2 + kTemporaryMark.size() + kTemporaryRandomLength;
    if (name.size() < minimum || name.front() != '.') {
        return false;
    }
    const std::string_view random = name.substr(name.size() - kTemporaryRandomLength);
    const std::string_view mark = name.substr(
        name.size() - kTemporaryRandomLength - kTemporaryMark.size(), kTemporaryMark.size());
    return mark == kTemporaryMark && std::all_of(random.begin(), random.end(), [](char c) {
               return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
           });
}

} // namespace quorel
