#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace quilvane {

// Raised for a number that cannot be represented: a rounding outside 16 bits, or a value
// that is not finite where text is wanted.
class NumericError : public std::overflow_error {
public:
    using std::overflow_error::overflow_error;
};

// The leading number of a text. Blanks, tabs and line feeds are ignored wherever they
// stand; reading stops at the first character that cannot continue the number; &H and &O
// introduce hexadecimal and octal integers. Text without a number reads as 0. Never throws.
// Values beyond the double range read as infinity, tiny ones as zero.
double ReadNumber(std::string_view text) noexcept;

// The number that a whole text is, blanks around it allowed: a sign, digits with at most one
// point, an optional exponent. Empty when the text is anything else or the value is not
// finite. For values the user sets, where ReadNumber's leniency would hide a typing error.
std::optional<double> ReadWholeNumber(std::string_view text);

// Nearest integer, halves to the even neighbour; NumericError outside -32768..32767.
std::int16_t RoundToInt16(double x);

// Decimal digits with a minus sign for negatives.
std::string IntText(std::int16_t n);

// 15 significant digits; a blank before non-negatives, "-" before negatives, no 0 before
// the point of a value between -1 and 1 (" .5", "-.27"). NumericError when not finite.
std::string SpacedText(double x);

// 15 significant digits, a minus sign before negatives only, the 0 before the point kept.
// NumericError when not finite.
std::string PlainText(double x);

// Up to 15 significant digits as a mantissa, E, a sign and at least two exponent digits, as
// coefficients are written ("3.9083E-03", "-5.775E-07"); "0" for zero. NumericError when not
// finite.
std::string ExponentText(double x);

}  // namespace quilvane
