#include "calc/number_text.h"

#include <algorithm>
#include <array>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>
#include <system_error>

#include "calc/big_integer.h"

namespace calc {
namespace {

// Significant digits kept of a long number text. A halfway point between two
// doubles has at most 767 significant digits, so with 800 digits kept, the
// digits beyond them only tell whether the value lies above the kept part.
constexpr std::size_t kept_digit_limit = 800;

// An exponent this large already puts every text far beyond the double range;
// larger ones are held at it, so that no sum of exponents can overflow.
constexpr std::int64_t exponent_cap = 1'000'000'000'000'000;

// A number text taken apart: the value is 0.digits × 10^exponent, plus a
// little more when `inexact` says that non-zero digits were dropped.
struct Decimal {
    bool negative = false;
    std::string digits;  // significant digits, no leading zero
    std::int64_t exponent = 0;
    bool inexact = false;
};

constexpr bool is_digit(char c) { return c >= '0' && c <= '9'; }
constexpr bool is_blank(char c) { return c == ' ' || c == '\t'; }

class Scanner {
public:
    explicit Scanner(std::string_view text) : text_(text) {}

    Decimal scan()
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
        return std::move(result_);
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
        const std::size_t start = pos_;
        while (pos_ < text_.size() && is_digit(text_[pos_])) take_digit(text_[pos_++], fraction);
        return pos_ - start;
    }

    void take_digit(char digit, bool fraction)
    {
        if (result_.digits.empty() && digit == '0') {
            if (fraction) --result_.exponent;  // a leading zero after the comma
            return;
        }
        if (!fraction) ++result_.exponent;
        if (result_.digits.size() < kept_digit_limit) {
            result_.digits.push_back(digit);
        } else if (digit != '0') {
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
    Decimal result_;
};

constexpr std::array<double, 23> exact_powers_of_ten = {
    1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
    1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// The common case: at most 15 digits and a small power of ten. Both factors
// are exact doubles, so the one rounding of the product or quotient is the
// correct rounding of the decimal value.
bool try_exact_fast_path(std::uint64_t mantissa, std::int64_t power, double& result)
{
    if constexpr (FLT_EVAL_METHOD != 0) {
        return false;  // the step would not be rounded to double alone
    } else {
        if (power < -22 || power > 22) return false;
        const double m = static_cast<double>(mantissa);
        result = power >= 0 ? m * exact_powers_of_ten[static_cast<std::size_t>(power)]
                            : m / exact_powers_of_ten[static_cast<std::size_t>(-power)];
        return true;
    }
}

// Exact rounding with big integers: value = digits × 10^power (a little more
// when `inexact`). Finds the binary exponent, the 53-bit quotient and the
// remainder, then rounds half to even.
double round_exactly(const std::string& digits, std::int64_t power, bool inexact)
{
    using detail::BigInteger;
    BigInteger numerator = BigInteger::from_digits(digits);
    BigInteger denominator(1);
    if (power >= 0) {
        numerator.multiply_by_pow5(static_cast<unsigned>(power));
    } else {
        denominator.multiply_by_pow5(static_cast<unsigned>(-power));
    }
    const int binary_power = static_cast<int>(power);  // value = num / den × 2^binary_power

    // floor(log2(num / den)) is the bit length difference or one less.
    int log2 = static_cast<int>(numerator.bit_length()) - static_cast<int>(denominator.bit_length());
    {
        BigInteger n = numerator;
        BigInteger d = denominator;
        if (log2 >= 0) {
            d.shift_left(static_cast<unsigned>(log2));
        } else {
            n.shift_left(static_cast<unsigned>(-log2));
        }
        if (compare(n, d) < 0) --log2;
    }
    const int top_bit = log2 + binary_power;  // the value lies in [2^top_bit, 2^(top_bit+1))
    if (top_bit > DBL_MAX_EXP - 1) throw OutOfRange();

    // The unit of the last mantissa bit: 2^-52 of the leading bit, or the
    // denormal unit 2^-1074 below the normal range.
    int unit = std::max(top_bit - (DBL_MANT_DIG - 1), DBL_MIN_EXP - DBL_MANT_DIG);
    const int shift = binary_power - unit;
    if (shift >= 0) {
        numerator.shift_left(static_cast<unsigned>(shift));
    } else {
        denominator.shift_left(static_cast<unsigned>(-shift));
    }

    // mantissa = floor(num / den) < 2^53, by long division one bit at a time.
    std::uint64_t mantissa = 0;
    BigInteger step = denominator;
    step.shift_left(DBL_MANT_DIG - 1);
    for (int bit = DBL_MANT_DIG - 1; bit >= 0; --bit) {
        if (compare(numerator, step) >= 0) {
            numerator.subtract(step);
            mantissa |= std::uint64_t{1} << bit;
        }
        if (bit > 0) step.shift_right_one();
    }

    // numerator now holds the remainder; compare it with half the divisor.
    numerator.shift_left(1);
    const int against_half = compare(numerator, denominator);
    const bool round_up =
        against_half > 0 || (against_half == 0 && (inexact || (mantissa & 1) != 0));
    if (round_up) {
        ++mantissa;
        if (mantissa == std::uint64_t{1} << DBL_MANT_DIG) {
            mantissa >>= 1;
            ++unit;
        }
    }
    if (unit > DBL_MAX_EXP - DBL_MANT_DIG) throw OutOfRange();
    return std::ldexp(static_cast<double>(mantissa), unit);
}

}  // namespace

double to_number(std::string_view text)
{
    Decimal decimal = Scanner(text).scan();
    const double zero = decimal.negative ? -0.0 : 0.0;
    if (decimal.digits.empty()) return zero;

    // The exact tail decides ties only when no digits were dropped; otherwise
    // the kept digits must stay at their full length (see kept_digit_limit).
    if (!decimal.inexact) {
        const auto last = decimal.digits.find_last_not_of('0');
        decimal.digits.erase(last + 1);
    }

    // 0.d × 10^E lies in [10^(E-1), 10^E): from E = 310 on it is at least
    // 10^309, beyond the largest double; up to E = -324 it is below 10^-324,
    // less than half the smallest denormal, and rounds to zero.
    if (decimal.exponent >= 310) throw OutOfRange();
    if (decimal.exponent <= -324) return zero;

    const auto digit_count = static_cast<std::int64_t>(decimal.digits.size());
    const std::int64_t power = decimal.exponent - digit_count;
    double magnitude = 0;
    bool done = false;
    if (!decimal.inexact && digit_count <= 15) {
        std::uint64_t mantissa = 0;
        for (const char digit : decimal.digits) mantissa = mantissa * 10 + static_cast<unsigned>(digit - '0');
        done = try_exact_fast_path(mantissa, power, magnitude);
    }
    if (!done) magnitude = round_exactly(decimal.digits, power, decimal.inexact);
    return decimal.negative ? -magnitude : magnitude;
}

std::string to_text(double value)
{
    if (!std::isfinite(value)) throw Error("no text for a value that is not finite");
    if (value == 0) return "0";  // negative zero included

    // Fifteen significant digits, correctly rounded: d.dddddddddddddde±XX.
    constexpr int precision = 15;
    std::array<char, 32> buffer{};
    const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                            std::chars_format::scientific, precision - 1);
    if (error != std::errc()) throw Error("number could not be written");
    const std::string_view scientific(buffer.data(), static_cast<std::size_t>(end - buffer.data()));
    const std::size_t e_at = scientific.find('e');
    const bool negative = scientific.front() == '-';
    std::string digits;
    for (const char c : scientific.substr(0, e_at)) {
        if (is_digit(c)) digits.push_back(c);
    }
    int exponent = 0;
    const std::string_view exponent_text = scientific.substr(e_at + 1);
    const char* exponent_begin = exponent_text.data() + (exponent_text.front() == '+' ? 1 : 0);
    std::from_chars(exponent_begin, exponent_text.data() + exponent_text.size(), exponent);

    std::string text = negative ? "-" : "";
    if (exponent < -4 || exponent >= precision) {
        // Exponent form: d,ddd with trailing zeros dropped, E, sign, two digits at least.
        digits.erase(digits.find_last_not_of('0') + 1);
        text += digits.front();
        if (digits.size() > 1) text.append(",").append(digits, 1);
        text += exponent < 0 ? "E-" : "E+";
        const int magnitude = std::abs(exponent);
        if (magnitude < 10) text += '0';
        std::array<char, 8> exponent_digits{};
        const auto written = std::to_chars(exponent_digits.begin(), exponent_digits.end(), magnitude);
        text.append(exponent_digits.data(), written.ptr);
        return text;
    }
    // Plain form: the same fifteen digits around a comma.
    if (exponent < 0) {
        digits.insert(0, static_cast<std::size_t>(-exponent), '0');
        exponent = 0;
    }
    const auto integer_length = static_cast<std::size_t>(exponent) + 1;
    std::string fraction = digits.substr(integer_length);
    fraction.erase(fraction.find_last_not_of('0') + 1);
    text.append(digits, 0, integer_length);
    if (!fraction.empty()) text.append(",").append(fraction);
    return text;
}

}  // namespace calc
