#pragma once

#include <optional>
#include <string>

namespace quorel {

enum class Parity { None, Even, Odd, Mark, Space };
enum class StopBits { One, OneAndHalf, Two };

struct LineParameters {
    int baud = 0;
    Parity parity = Parity::None;
    int dataBits = 8;
    StopBits stopBits = StopBits::One;
};

// The module's line: what the window shows and what a link uses until it is told otherwise.
inline constexpr const char* kLineParameters = "4800,N,8,1";

// Reads a parameter text such as "4800,N,8,1"; nullopt when it is malformed.
std::optional<LineParameters> parseLineParameters(const std::string& text);

} // namespace quorel
