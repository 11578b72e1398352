// Numeric conventions the chart formats and settings rely on.
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace plat {

// The leading-number value of a text: blanks, tabs and line feeds are skipped wherever they stand
// ("1 2" reads 12); the longest leading part that forms a number (sign, digits, one "." as the
// decimal point, an optional exponent with E or D; "&H" and "&O" prefixes for base 16 and base 8)
// gives the value; a text that does not begin with a number gives 0. A value too large for a
// double gives an infinity, which no checked store below accepts.
double LeadingNumber(std::string_view text);

// The value a number field of the panels and dialogs holds: LeadingNumber, with a value that is
// not finite (too large for a double, such as "9E99999") read as 0. Every field read by its
// leading number goes through this one function.
double FieldNumber(std::string_view text);

// Nearest integer, halves to the even neighbour.
double RoundHalfEven(double x);

// Rounds (half to even) and stores into a 16-/32-bit field; nullopt when the value does not fit
// (or is NaN/infinite) instead of wrapping.
std::optional<int16_t> ToInt16(double x);
std::optional<int32_t> ToInt32(double x);

// A colour written "RRGGBB": characters 1-2, 3-4 and 5-6 each read as a base-16 number from
// their leading base-16 digits (a pair without one, or a missing pair, reads 0). Characters, not
// bytes, are counted. Gives red, green and blue.
std::array<int, 3> ColourPairs(std::string_view text);

// Number-to-text as the settings file writes it: a blank before a non-negative value
// (" 0", " 10200"), "-" before a negative one, no grouping, a fraction only where there is one.
std::string NumberToText(double x);

}  // namespace plat
