#include "calc/charconv_fallback.h"

#include <fast_float/fast_float.h>

#include <algorithm>
#include <cmath>
#include <system_error>

namespace calc::fallback {
namespace {

// Whether the digits of the number text [first, last) before its exponent
// include one other than 0.
bool has_nonzero_digit(const char* first, const char* last)
{
    const char* const exponent = std::find_if(first, last, [](char c) { return c == 'e' || c == 'E'; });
    return std::any_of(first, exponent, [](char c) { return c >= '1' && c <= '9'; });
}

}  // namespace

std::from_chars_result from_chars(const char* first, const char* last, double& value)
{
    double result = 0;
    const auto [end, error] = fast_float::from_chars(first, last, result);
    if (error != std::errc()) return {end, error};
    // fast_float gives an infinity or zero for a number beyond the range
    // without a word; the standard's contract says so.
    if ((std::isinf(result) || result == 0) && has_nonzero_digit(first, end)) {
        return {end, std::errc::result_out_of_range};
    }
    value = result;
    return {end, std::errc()};
}

}  // namespace calc::fallback
