#include "calc/number_text.h"

#include <algorithm>
#include <array>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <system_error>
#include <version>

#include <fast_float/fast_float.h>

namespace calc {
namespace {

constexpr bool is_digit(char c) { return c >= '0' && c <= '9'; }

// The text without its blanks (space, tab) at either end.
std::string_view trimmed(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The number with the thousands separators of its integer part taken out:
// "20.000.000,5" is "20000000,5". The integer part is one to three digits,
// then groups of exactly three, each after a "."; a "." anywhere else, or a
// group of another length, is no number. (That the groups are digits,
// fast_float checks as it reads them.)
std::string without_separators(std::string_view number)
{
    const std::size_t integer_end = std::min(number.find_first_of(",eE"), number.size());
    if (number.find('.', integer_end) != std::string_view::npos) throw NotANumber();
    std::string joined;
    joined.reserve(number.size());
    std::string_view integer = number.substr(0, integer_end);
    const std::size_t leading = integer.find('.');
    if (leading == 0 || leading > 3) throw NotANumber();
    joined.append(integer.substr(0, leading));
    integer.remove_prefix(leading);
    while (!integer.empty()) {
        if (integer.size() < 4 || integer[0] != '.' || integer.find('.', 1) < 4) throw NotANumber();
        joined.append(integer.substr(1, 3));
        integer.remove_prefix(4);
    }
    return joined.append(number.substr(integer_end));
}

// The largest text that to_text writes, 1,79769313486232E+308, as the digits
// d of 0.d × 10^309. It lies above the largest double; texts up to it read as
// the largest double, so that every written text reads back.
constexpr std::string_view largest_written_digits = "179769313486232";
constexpr std::int64_t largest_written_exponent = 309;

// An exponent this large already puts every text far beyond the double
// range; larger ones are held at it, so that no sum can overflow.
constexpr std::int64_t exponent_cap = 1'000'000'000'000'000;

// Whether a number (digits, an optional comma, an optional exponent; no sign,
// no separators) is at most the largest written text. Asked only of numbers
// that read as an infinity, so it may take its time.
bool within_largest_written(std::string_view number)
{
    const std::size_t e = std::min(number.find_first_of("eE"), number.size());
    std::int64_t exponent = 0;
    if (e < number.size()) {
        std::string_view power = number.substr(e + 1);
        const bool negative = !power.empty() && power[0] == '-';
        if (!power.empty() && (power[0] == '-' || power[0] == '+')) power.remove_prefix(1);
        for (const char c : power) exponent = std::min(exponent_cap, exponent * 10 + (c - '0'));
        if (negative) exponent = -exponent;
    }
    // 0.d × 10^exponent, d from the first significant digit on.
    const std::string_view mantissa = number.substr(0, e);
    const std::size_t comma = std::min(mantissa.find(','), mantissa.size());
    const std::size_t first = mantissa.find_first_not_of("0,");
    if (first == std::string_view::npos) return true;
    exponent += first < comma ? static_cast<std::int64_t>(comma - first)
                              : -static_cast<std::int64_t>(first - comma - 1);
    if (exponent != largest_written_exponent) return exponent < largest_written_exponent;
    // The same place: the digits decide, a longer string that starts with
    // the largest's being larger where any of its further digits is not 0.
    std::size_t matched = 0;
    for (const char c : mantissa.substr(first)) {
        if (c == ',') continue;
        if (matched == largest_written_digits.size()) {
            if (c != '0') return false;
            continue;
        }
        if (c != largest_written_digits[matched]) return c < largest_written_digits[matched];
        ++matched;
    }
    return true;
}

// printf's %.15g in the "C" form: the standard library's wherever it has
// the conversion for doubles (it says so with __cpp_lib_to_chars), as
// libstdc++ has natively and on MinGW.
#if defined(__cpp_lib_to_chars)
std::to_chars_result write_fifteen_digits(char* first, char* last, double value)
{
    return std::to_chars(first, last, value, std::chars_format::general, 15);
}
#elif defined(__EMSCRIPTEN__)
// The WebAssembly build's libc++ has none; there the C library writes it,
// emscripten's musl, whose %.15g is exact and correctly rounded (WebAssembly
// always rounds to nearest, ties to even). Other C libraries take printf's
// decimal point from the process locale; in the module it is always ".":
// the module never calls setlocale, so it runs in the "C" locale, and musl
// writes a fixed "." whatever the locale. Any other library without the
// standard conversion stops the build here rather than write through a
// printf that a locale could change.
std::to_chars_result write_fifteen_digits(char* first, char* last, double value)
{
    const int length = std::snprintf(first, static_cast<std::size_t>(last - first), "%.15g", value);
    if (length < 0 || length >= last - first) return {last, std::errc::value_too_large};
    return {first + length, std::errc()};
}
#else
#error "no floating-point std::to_chars, and no C library known to write numbers without the locale"
#endif

}  // namespace

// Our grammar around the number, fast_float's reading of it: the blanks, the
// sign and the thousands separators are taken off here, so that what is left
// is what fast_float reads with the comma as its decimal point (digits, a
// comma, an exponent). It reads the digits, however many, to the correctly
// rounded double, and it alone decides whether they are digits.
double to_number(std::string_view text)
{
    std::string_view number = trimmed(text);
    const bool negative = !number.empty() && number[0] == '-';
    if (!number.empty() && (number[0] == '-' || number[0] == '+')) number.remove_prefix(1);
    // A digit or the comma first: fast_float would also read "inf" and "nan".
    if (number.empty() || !(is_digit(number[0]) || number[0] == ',')) throw NotANumber();
    std::string joined;
    if (number.find('.') != std::string_view::npos) {
        joined = without_separators(number);
        number = joined;
    }

    double magnitude = 0;
    const auto [end, error] = fast_float::from_chars_advanced(
        number.data(), number.data() + number.size(), magnitude,
        fast_float::parse_options(fast_float::chars_format::general, ','));
    if (end != number.data() + number.size()) throw NotANumber();
    if (error != std::errc() && error != std::errc::result_out_of_range) throw NotANumber();
    // Beyond the range fast_float gives an infinity or zero (and, from
    // version 7 on, says result_out_of_range): an infinity is out of range
    // but up to the largest written text, an underflow is a zero.
    if (std::isinf(magnitude)) {
        if (!within_largest_written(number)) throw OutOfRange();
        magnitude = DBL_MAX;
    }
    return negative ? -magnitude : magnitude;
}

std::string to_text(double value)
{
    if (!std::isfinite(value)) throw Error("no text for a value that is not finite");
    if (value == 0) return "0";  // negative zero included

    // The "C" form of %.15G with a small e; our spelling differs only in
    // the comma and the capital E.
    std::array<char, 32> buffer{};
    const auto [end, error] = write_fifteen_digits(buffer.data(), buffer.data() + buffer.size(), value);
    if (error != std::errc()) throw Error("number could not be written");
    std::string text(buffer.data(), end);
    for (char& c : text) {
        if (c == '.') c = ',';
        if (c == 'e') c = 'E';
    }
    return text;
}

}  // namespace calc
