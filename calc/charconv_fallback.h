#pragma once

#include <charconv>

// The two conversions between doubles and their "C" texts that number_text.cpp
// needs, for standard libraries without the floating-point std::from_chars and
// std::to_chars (such as libc++ 13). Built on every platform, so that the
// tests hold them to the standard library wherever it has both.
namespace calc::fallback {

// As std::from_chars(first, last, value) with chars_format::general: the
// correctly rounded double (round half to even) of the decimal number at the
// start of [first, last); result_out_of_range, value untouched, where it
// rounds to an infinity or, from a non-zero number, to zero.
std::from_chars_result from_chars(const char* first, const char* last, double& value);

// As std::to_chars(first, last, value, std::chars_format::general, 15), that
// is printf("%.15g") in the "C" locale: value_too_large, with last, where
// the text does not fit.
std::to_chars_result to_chars_15g(char* first, char* last, double value);

}  // namespace calc::fallback
