#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace quorel {

// A field of a file read as a number: the whole text, blanks around it aside, must be a decimal
// number (optional sign, digits with an optional "." fraction, optional exponent). A fraction is
// rounded to the nearest integer, a half to the even neighbour. nullopt when the text is not a
// number or the rounded value does not fit the width.
std::optional<int16_t> fieldToInt16(std::string_view text);
std::optional<int32_t> fieldToInt32(std::string_view text);

// The number that a text begins with, as an entry field is read: spaces, tabs and line feeds are
// skipped wherever they stand; an optional sign, digits, "." as the decimal point and an optional
// exponent are read up to the first character that cannot continue the number. A text that does
// not begin with a number reads as 0.
double leadingNumber(std::string_view text);

} // namespace quorel
