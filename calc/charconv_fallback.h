#pragma once

#include <charconv>

// The reading of number_text.cpp's "C" texts for standard libraries without
// the floating-point std::from_chars (such as libc++ 13). Built on every
// platform, so that the tests hold it to the standard library wherever it
// has one.
namespace calc::fallback {

// As std::from_chars(first, last, value) with chars_format::general: the
// correctly rounded double (round half to even) of the decimal number at the
// start of [first, last); result_out_of_range, value untouched, where it
// rounds to an infinity or, from a non-zero number, to zero.
std::from_chars_result from_chars(const char* first, const char* last, double& value);

}  // namespace calc::fallback
