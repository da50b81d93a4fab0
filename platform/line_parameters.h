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

// Reads a parameter text such as "4800,N,8,1"; nullopt when it is malformed.
std::optional<LineParameters> parseLineParameters(const std::string& text);

} // namespace quorel
