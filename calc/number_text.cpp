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

#include "calc/charconv_fallback.h"

namespace calc {
namespace {

// How many significant digits of a text are handed to read_c_form. A
// halfway point between two doubles has at most 767 significant digits, so
// beyond 800 digits only whether any of the rest is non-zero can matter; one
// more digit '1' then stands for all of them.
constexpr std::size_t kept_digit_limit = 800;

// An exponent this large already puts every text far beyond the double range;
// larger ones are held at it, so that no sum of exponents can overflow.
constexpr std::int64_t exponent_cap = 1'000'000'000'000'000;

// The largest text that to_text writes, 1,79769313486232E+308, as the digits
// d of 0.d × 10^309. It lies above the largest double; texts up to it read as
// the largest double, so that every written text reads back.
constexpr std::string_view largest_written_digits = "179769313486232";
constexpr std::int64_t largest_written_exponent = 309;

// A number text taken apart: the value is 0.digits × 10^exponent, plus a
// little more when `inexact` says that non-zero digits were dropped. The
// digits are followed, in the same buffer, by the exponent of the "C" form
// that read_c_form reads.
struct Decimal {
    bool negative = false;
    std::array<char, kept_digit_limit + 32> buffer;  // significant digits, no leading zero
    std::size_t digit_count = 0;
    std::int64_t exponent = 0;
    bool inexact = false;
};

constexpr bool is_digit(char c) { return c >= '0' && c <= '9'; }
constexpr bool is_blank(char c) { return c == ' ' || c == '\t'; }

// The length of the run of decimal digits that `text` starts with; eight bytes
// at a time, so that a pasted megabyte of digits is scanned quickly.
std::size_t digit_run(std::string_view text)
{
    std::size_t n = 0;
    for (; n + 8 <= text.size(); n += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, text.data() + n, sizeof word);
        // A byte's high bit is set here unless the byte lies in '0'..'9'.
        if (((word + 0x4646464646464646) | (word - 0x3030303030303030)) & 0x8080808080808080) break;
    }
    while (n < text.size() && is_digit(text[n])) ++n;
    return n;
}

class Scanner {
public:
    Scanner(std::string_view text, Decimal& result) : text_(text), result_(result) {}

    void scan()
    {
        skip_blanks();
        if (accept('+')) {
        } else if (accept('-')) {
            result_.negative = true;
        }
        const std::size_t integer_digits = scan_integer_part();
        std::size_t fraction_digits = 0;
        if (accept(',')) fraction_digits = scan_digits(/*fraction=*/true);
        if (integer_digits + fraction_digits == 0) throw NotANumber();
        if (accept('E') || accept('e')) scan_exponent();
        skip_blanks();
        if (pos_ != text_.size()) throw NotANumber();
    }

private:
    // Digits, with "." allowed only between whole thousands groups.
    std::size_t scan_integer_part()
    {
        const std::size_t leading = scan_digits(/*fraction=*/false);
        std::size_t total = leading;
        if (peek() == '.' && (leading == 0 || leading > 3)) throw NotANumber();
        while (accept('.')) {
            if (scan_digits(/*fraction=*/false) != 3) throw NotANumber();
            total += 3;
        }
        return total;
    }

    std::size_t scan_digits(bool fraction)
    {
        const std::size_t length = digit_run(text_.substr(pos_));
        take_digits(text_.substr(pos_, length), fraction);
        pos_ += length;
        return length;
    }

    void take_digits(std::string_view digits, bool fraction)
    {
        if (result_.digit_count == 0) {
            // Leading zeros count only for the place of the first digit.
            const std::size_t zeros = std::min(digits.find_first_not_of('0'), digits.size());
            if (fraction) result_.exponent -= static_cast<std::int64_t>(zeros);
            digits.remove_prefix(zeros);
        }
        if (!fraction) result_.exponent += static_cast<std::int64_t>(digits.size());
        const std::size_t kept = std::min(digits.size(), kept_digit_limit - result_.digit_count);
        digits.copy(result_.buffer.data() + result_.digit_count, kept);
        result_.digit_count += kept;
        if (!result_.inexact && digits.find_first_not_of('0', kept) != std::string_view::npos) {
            result_.inexact = true;
        }
    }

    void scan_exponent()
    {
        bool negative = false;
        if (accept('+')) {
        } else if (accept('-')) {
            negative = true;
        }
        if (!is_digit(peek())) throw NotANumber();
        std::int64_t value = 0;
        while (is_digit(peek())) {
            value = std::min(exponent_cap, value * 10 + (text_[pos_++] - '0'));
        }
        result_.exponent += negative ? -value : value;
    }

    void skip_blanks()
    {
        while (is_blank(peek())) ++pos_;
    }

    [[nodiscard]] char peek() const { return pos_ < text_.size() ? text_[pos_] : '\0'; }

    bool accept(char c)
    {
        if (pos_ < text_.size() && text_[pos_] == c) {
            ++pos_;
            return true;
        }
        return false;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    Decimal& result_;
};

// Whether 0.digits × 10^exponent is at most the largest written text. With
// trailing zeros dropped, or a digit '1' standing for dropped non-zero digits,
// a longer digit string that starts with a shorter one is the larger
// fraction, so the string order decides.
bool within_largest_written(const Decimal& decimal)
{
    const std::string_view digits(decimal.buffer.data(), decimal.digit_count);
    return decimal.exponent < largest_written_exponent ||
           (decimal.exponent == largest_written_exponent && digits <= largest_written_digits);
}

constexpr std::array<double, 23> exact_powers_of_ten = {
    1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
    1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// The texts people type: at most 15 digits and a small power of ten. Both
// factors are exact doubles, so the one rounding of the product or quotient
// is the correct rounding of the decimal value, and faster than the library.
bool try_exact_fast_path(const Decimal& decimal, double& result)
{
    const std::int64_t power = decimal.exponent - static_cast<std::int64_t>(decimal.digit_count);
    if (FLT_EVAL_METHOD != 0 || decimal.digit_count > 15 || power < -22 || power > 22) return false;
    std::uint64_t mantissa = 0;
    for (std::size_t i = 0; i < decimal.digit_count; ++i) {
        mantissa = mantissa * 10 + static_cast<unsigned>(decimal.buffer[i] - '0');
    }
    const double m = static_cast<double>(mantissa);
    result = power >= 0 ? m * exact_powers_of_ten[static_cast<std::size_t>(power)]
                        : m / exact_powers_of_ten[static_cast<std::size_t>(-power)];
    return true;
}

// The conversions of the "C" forms: the correctly rounded double of
// digits, "e" and a power of ten; the text of printf's %.15g. The standard
// library's wherever it has them for doubles (it says so with
// __cpp_lib_to_chars), as libstdc++ has natively and on MinGW.
#if defined(__cpp_lib_to_chars)
std::from_chars_result read_c_form(const char* first, const char* last, double& value)
{
    return std::from_chars(first, last, value);
}
std::to_chars_result write_fifteen_digits(char* first, char* last, double value)
{
    return std::to_chars(first, last, value, std::chars_format::general, 15);
}
#elif defined(__EMSCRIPTEN__)
// The WebAssembly build's libc++ has neither. Reading goes through
// fast_float; writing through the C library, emscripten's musl, whose %.15g
// is exact and correctly rounded (WebAssembly always rounds to nearest, ties
// to even). Other C libraries take printf's decimal point from the process
// locale; in the module it is always ".": the module never calls setlocale,
// so it runs in the "C" locale, and musl writes a fixed "." whatever the
// locale. Any other library without the standard conversions stops the
// build here rather than write through a printf that a locale could change.
std::from_chars_result read_c_form(const char* first, const char* last, double& value)
{
    return fallback::from_chars(first, last, value);
}
std::to_chars_result write_fifteen_digits(char* first, char* last, double value)
{
    const int length = std::snprintf(first, static_cast<std::size_t>(last - first), "%.15g", value);
    if (length < 0 || length >= last - first) return {last, std::errc::value_too_large};
    return {first + length, std::errc()};
}
#else
#error "no floating-point std::from_chars and std::to_chars, and no C library known to write numbers without the locale"
#endif

}  // namespace

double to_number(std::string_view text)
{
    Decimal decimal;
    Scanner(text, decimal).scan();
    const double zero = decimal.negative ? -0.0 : 0.0;
    if (decimal.digit_count == 0) return zero;
    char* const digits = decimal.buffer.data();
    if (!decimal.inexact) {
        while (digits[decimal.digit_count - 1] == '0') --decimal.digit_count;
    }

    // 0.d × 10^E lies in [10^(E-1), 10^E): from E = 310 on it is at least
    // 10^309, beyond the largest written text; up to E = -324 it is below
    // 10^-324, less than half the smallest denormal, and rounds to zero. In
    // between, the exponent of the "C" form below is small.
    if (decimal.exponent >= 310) throw OutOfRange();
    if (decimal.exponent <= -324) return zero;
    double magnitude = 0;
    if (!decimal.inexact && try_exact_fast_path(decimal, magnitude)) {
        return decimal.negative ? -magnitude : magnitude;
    }
    if (decimal.inexact) digits[decimal.digit_count++] = '1';

    // The "C" form: the digits as an integer, "e", the power of ten.
    char* end = digits + decimal.digit_count;
    *end++ = 'e';
    const auto power = decimal.exponent - static_cast<std::int64_t>(decimal.digit_count);
    end = std::to_chars(end, decimal.buffer.data() + decimal.buffer.size(), power).ptr;

    const auto [stop, error] = read_c_form(digits, end, magnitude);
    if (error == std::errc::result_out_of_range) {
        // Said of a value rounded to infinity or to zero alike; a value that
        // rounds to zero is below 10^-300, one that overflows above 10^300.
        if (decimal.exponent < 0) return zero;
        if (!within_largest_written(decimal)) throw OutOfRange();
        magnitude = DBL_MAX;
    } else if (error != std::errc() || stop != end) {
        throw Error("number could not be read");
    }
    return decimal.negative ? -magnitude : magnitude;
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
