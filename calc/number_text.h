#pragma once

#include <string>
#include <string_view>

#include "calc/errors.h"

// The traffic between the texts of the window and numbers. Both directions use
// the German convention (decimal comma) and read nothing outside their
// argument: not the process locale, not the environment.
namespace calc {

// Reads a number text (UTF-8) and returns the correctly rounded double (round
// half to even) of the decimal number it denotes.
//
// Accepted, and nothing else:
//   - optional blanks (space, tab) before and after;
//   - an optional sign, "+" or "-";
//   - decimal digits with an optional decimal comma; digits may be missing on
//     one side of the comma but not on both (",5" is 0.5, "5," is 5);
//   - "." only as a thousands separator of the integer part, in whole groups:
//     one to three leading digits, then groups of exactly three digits
//     ("1.000" is 1000, "20.000.000,5" is 20000000.5); "1.5" and "1.00" are
//     rejected, because a German reader means a thousand by "1.000" and a
//     silent guess at "1.5" would put a wrong figure into a meter setting;
//   - an optional exponent, "E" or "e", an optional sign and at least one digit.
//
// Throws NotANumber for any other text (the empty text, "inf", "nan", hex forms
// included) and OutOfRange for a value beyond the double range, except that a
// value up to 1,79769313486232E+308 in magnitude (the largest text to_text
// writes) reads as the largest double with its sign. A value that underflows
// to zero or to a denormal is accepted, its sign kept. Runs in time linear in
// the length of the text.
[[nodiscard]] double to_number(std::string_view text);

// Writes a finite double as C's printf("%.15G") does in the "C" locale (15
// significant digits, trailing zeros dropped, exponent form where %G chooses
// it, such as "1E+15" and "1E-05"), with a decimal comma instead of the point.
// Negative zero is written "0". Every text written here reads back with
// to_number to the value that the text denotes, the largest written text to
// the largest double.
//
// Throws Error for an infinity or NaN, which no formula lets through.
[[nodiscard]] std::string to_text(double value);

}  // namespace calc
