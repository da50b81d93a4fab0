#include "platform/line_parameters.h"

#include <charconv>
#include <vector>

namespace quorel {

namespace {

std::vector<std::string> splitCommas(const std::string& text) {
    std::vector<std::string> parts;
    std::string current;
    for (char c : text) {
        if (c == ',') {
            parts.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    parts.push_back(current);
    return parts;
}

std::optional<int> wholeNumber(const std::string& text) {
    int value = 0;
    const char* end = text.data() + text.size();
    auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end) {
        return std::nullopt;
    }
    return value;
}

} // namespace

std::optional<LineParameters> parseLineParameters(const std::string& text) {
    const std::vector<std::string> parts = splitCommas(text);
    if (parts.size() != 4) {
        return std::nullopt;
    }
    LineParameters result;
    const auto baud = wholeNumber(parts[0]);
    if (!baud || *baud <= 0) {
        return std::nullopt;
    }
    result.baud = *baud;

    if (parts[1].size() != 1) {
        return std::nullopt;
    }
    switch (parts[1][0]) {
    case 'N':
    case 'n':
        result.parity = Parity::None;
        break;
    case 'E':
    case 'e':
        result.parity = Parity::Even;
        break;
    case 'O':
    case 'o':
        result.parity = Parity::Odd;
        break;
    case 'M':
    case 'm':
        result.parity = Parity::Mark;
        break;
    case 'S':
    case 's':
        result.parity = Parity::Space;
        break;
    default:
        return std::nullopt;
    }

    const auto dataBits = wholeNumber(parts[2]);
    if (!dataBits || *dataBits < 5 || *dataBits > 8) {
        return std::nullopt;
    }
    result.dataBits = *dataBits;

    if (parts[3] == "1") {
        result.stopBits = StopBits::One;
    } else if (parts[3] == "1.5") {
        result.stopBits = StopBits::OneAndHalf;
    } else if (parts[3] == "2") {
        result.stopBits = StopBits::Two;
    } else {
        return std::nullopt;
    }
    return result;
}

} // namespace quorel
