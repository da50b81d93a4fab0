#include "schedule/number_text.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace quorel {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Length of the longest prefix of text that is a decimal number, or 0 when there is none.
size_t numberPrefixLength(std::string_view text) {
    size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        ++i;
    }
    size_t digits = 0;
    while (i < text.size() && isDigit(text[i])) {
        ++i, ++digits;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && isDigit(text[i])) {
            ++i, ++digits;
        }
    }
    if (digits == 0) {
        return 0;
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        size_t k = i + 1;
        if (k < text.size() && (text[k] == '+' || text[k] == '-')) {
            ++k;
        }
        if (k < text.size() && isDigit(text[k])) {
            while (k < text.size() && isDigit(text[k])) {
                ++k;
            }
            i = k;
        }
    }
    return i;
}

// Converts a text known to be a number. from_chars ignores the locale, which the window toolkit
// sets from the environment (a French locale would read "1.5" as 1).
double toDouble(std::string_view number) {
    if (!number.empty() && number.front() == '+') {
        number.remove_prefix(1);
    }
    double value = 0.0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        // Too small rounds to 0; too large is an infinity that no integer width holds.
        const size_t exponent = number.find_first_of("eE");
        if (exponent != std::string_view::npos && exponent + 1 < number.size() &&
            number[exponent + 1] == '-') {
            return 0.0;
        }
        return number.front() == '-' ? -HUGE_VAL : HUGE_VAL;
    }
    return value;
}

std::optional<double> wholeFieldNumber(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    const size_t length = numberPrefixLength(text);
    if (length == 0 || length != text.size()) {
        return std::nullopt;
    }
    // nearbyint rounds a half to the even neighbour in the default rounding mode.
    return std::nearbyint(toDouble(text));
}

template <typename Integer> std::optional<Integer> fieldToInteger(std::string_view text) {
    const auto value = wholeFieldNumber(text);
    if (!value || !std::isfinite(*value) || *value < std::numeric_limits<Integer>::min() ||
        *value > std::numeric_limits<Integer>::max()) {
        return std::nullopt;
    }
    return static_cast<Integer>(*value);
}

} // namespace

std::optional<int16_t> fieldToInt16(std::string_view text) {
    return fieldToInteger<int16_t>(text);
}

std::optional<int32_t> fieldToInt32(std::string_view text) {
    return fieldToInteger<int32_t>(text);
}

double leadingNumber(std::string_view text) {
    std::string compact;
    for (char c : text) {
        if (c != ' ' && c != '\t' && c != '\n') {
            compact += c;
        }
    }
    const size_t length = numberPrefixLength(compact);
    if (length == 0) {
        return 0.0;
    }
    const double value = toDouble(std::string_view(compact).substr(0, length));
    return std::isfinite(value) ? value : 0.0;
}

} // namespace quorel
