#include "calc/number_text.h"

#include <algorithm>
#include <array>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <system_error>
#include <version>

#include <fast_float/fast_float.h>

namespace calc {
namespace {

constexpr bool is_digit(char c) { return c >= '0' && c <= '9'; }
constexpr bool is_blank(char c) { return c == ' ' || c == '\t'; }

constexpr fast_float::parse_options decimal_comma(fast_float::chars_format::general, ',');

// fast_float's reading of [first, last), which must take all of it: the
// magnitude, an infinity beyond the double range.
double read_digits(const char* first, const char* last)
{
    double magnitude = 0;
    const auto [end, error] = fast_float::from_chars_advanced(first, last, magnitude, decimal_comma);
    if (end != last || (error != std::errc() && error != std::errc::result_out_of_range)) throw NotANumber();
    return magnitude;
}

// A number whose integer part has thousands separators, [first, last): one
// to three digits, then groups of exactly three, each after a "."; "1.5",
// "1.00" and "1234.567" are no numbers. Read without the separators.
double read_grouped(const char* first, const char* last)
{
    // Joined on the stack where the text is as short as typed ones are.
    std::array<char, 64> small;  // written before it is read
    std::string large;
    const auto length = static_cast<std::size_t>(last - first);
    char* const joined = length <= small.size() ? small.data() : (large.resize(length), large.data());
    char* out = joined;
    const char* p = first;
    while (p != last && is_digit(*p)) *out++ = *p++;
    if (p - first > 3 || p == last || *p != '.') throw NotANumber();
    while (p != last && *p == '.') {
        if (last - p < 4 || !is_digit(p[1]) || !is_digit(p[2]) || !is_digit(p[3])) throw NotANumber();
        out = std::copy(p + 1, p + 4, out);
        p += 4;
    }
    if (p != last && is_digit(*p)) throw NotANumber();  // a group of more than three
    out = std::copy(p, last, out);
    return read_digits(joined, out);
}

// The largest text that to_text writes, 1,79769313486232E+308, as the digits
// d of 0.d × 10^309. It lies above the largest double; texts up to it read as
// the largest double, so that every written text reads back.
constexpr std::string_view largest_written_digits = "179769313486232";
constexpr std::int64_t largest_written_exponent = 309;

// An exponent this large already puts every text far beyond the double
// range; larger ones are held at it, so that no sum can overflow.
constexpr std::int64_t exponent_cap = 1'000'000'000'000'000;

// Whether a number (digits, thousands separators, a comma, an exponent; no
// sign) is at most the largest written text. Asked only of numbers that
// read as an infinity; it keeps no copy of a text that may be a megabyte.
bool within_largest_written(std::string_view number)
{
    const std::size_t e = std::min({number.find('e'), number.find('E'), number.size()});
    std::int64_t exponent = 0;
    if (e < number.size()) {
        std::string_view power = number.substr(e + 1);
        const bool negative = !power.empty() && power[0] == '-';
        if (!power.empty() && (power[0] == '-' || power[0] == '+')) power.remove_prefix(1);
        for (const char c : power) exponent = std::min(exponent_cap, exponent * 10 + (c - '0'));
        if (negative) exponent = -exponent;
    }
    // As 0.d × 10^exponent, d from the first significant digit on.
    const std::string_view mantissa = number.substr(0, e);
    const std::size_t comma = std::min(mantissa.find(','), mantissa.size());
    const std::size_t first = mantissa.find_first_not_of("0.,");
    if (first == std::string_view::npos) return true;  // zero
    if (first < comma) {
        std::int64_t separators = 0;
        for (std::size_t dot = mantissa.find('.', first); dot < comma; dot = mantissa.find('.', dot + 1)) {
            ++separators;
        }
        exponent += static_cast<std::int64_t>(comma - first) - separators;
    } else {
        exponent -= static_cast<std::int64_t>(first - comma - 1);
    }
    if (exponent != largest_written_exponent) return exponent < largest_written_exponent;
    // At the same place the digits decide; beyond the largest's own, any
    // digit but 0 makes the number the larger.
    std::size_t matched = 0;
    for (const char c : mantissa.substr(first)) {
        if (!is_digit(c)) continue;
        if (matched == largest_written_digits.size()) {
            if (c != '0') return false;
        } else if (c != largest_written_digits[matched++]) {
            return c < largest_written_digits[matched - 1];
        }
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

// Our grammar around the number, fast_float's reading of it: the blanks,
// the sign and the thousands separators are taken off here, so that what is
// left is what fast_float reads with the comma as its decimal point (digits,
// a comma, an exponent). It reads the digits, however many, to the correctly
// rounded double, and it alone decides whether they are digits.
double to_number(std::string_view text)
{
    const char* first = text.data();
    const char* last = first + text.size();
    while (first != last && is_blank(*first)) ++first;
    while (last != first && is_blank(last[-1])) --last;
    const bool negative = first != last && *first == '-';
    if (first != last && (*first == '-' || *first == '+')) ++first;
    // A digit or the comma first: fast_float would also read "inf" and "nan".
    if (first == last || !(is_digit(*first) || *first == ',')) throw NotANumber();

    double magnitude = std::memchr(first, '.', static_cast<std::size_t>(last - first)) != nullptr
                           ? read_grouped(first, last)
                           : read_digits(first, last);
    // Beyond the range fast_float gives an infinity or zero (and, from
    // version 7 on, says result_out_of_range): an infinity is out of range
    // but up to the largest written text, an underflow is a zero.
    if (std::isinf(magnitude)) {
        if (!within_largest_written(std::string_view(first, static_cast<std::size_t>(last - first)))) {
            throw OutOfRange();
        }
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
