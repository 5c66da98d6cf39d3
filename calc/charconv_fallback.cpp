#include "calc/charconv_fallback.h"

#include <fast_float/fast_float.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <compare>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <system_error>

#include "calc/errors.h"

namespace calc::fallback {
namespace {

// Whether the digits of the number text [first, last) before its exponent
// include one other than 0.
bool has_nonzero_digit(const char* first, const char* last)
{
    const char* const exponent = std::find_if(first, last, [](char c) { return c == 'e' || c == 'E'; });
    return std::any_of(first, exponent, [](char c) { return c >= '1' && c <= '9'; });
}

// A natural number of up to 1024 bits in 32-bit limbs, least significant
// first, with no leading zero limb. The largest that compare() below makes,
// 2^54 × 5^340, has 844 bits.
class BigNumber {
public:
    explicit BigNumber(std::uint64_t value)
    {
        for (; value != 0; value >>= 32) limbs_[size_++] = static_cast<std::uint32_t>(value);
    }

    // Multiplies by base^exponent, with as many factors at a time as fit in a limb.
    void multiply_by_power(std::uint32_t base, int exponent)
    {
        std::uint32_t factor = 1;
        for (; exponent > 0; --exponent) {
            if (factor > UINT32_MAX / base) {
                multiply(factor);
                factor = 1;
            }
            factor *= base;
        }
        multiply(factor);
    }

    friend std::strong_ordering operator<=>(const BigNumber& a, const BigNumber& b)
    {
        if (a.size_ != b.size_) return a.size_ <=> b.size_;
        for (std::size_t i = a.size_; i-- > 0;) {
            if (a.limbs_[i] != b.limbs_[i]) return a.limbs_[i] <=> b.limbs_[i];
        }
        return std::strong_ordering::equal;
    }

private:
    void multiply(std::uint32_t factor)
    {
        std::uint64_t carry = 0;
        for (std::size_t i = 0; i < size_; ++i) {
            carry += std::uint64_t{limbs_[i]} * factor;
            limbs_[i] = static_cast<std::uint32_t>(carry);
            carry >>= 32;
        }
        if (carry == 0) return;
        if (size_ == limbs_.size()) throw Error("number too large for the digit comparison");
        limbs_[size_++] = static_cast<std::uint32_t>(carry);
    }

    std::array<std::uint32_t, 32> limbs_{};
    std::size_t size_ = 0;
};

// The order of a × 2^binary and n × 10^decimal, exactly: 10^decimal is
// 5^decimal × 2^decimal, and each side takes the factors that make both
// sides integers.
std::strong_ordering compare(std::uint64_t a, int binary, std::uint64_t n, int decimal)
{
    BigNumber left(a);
    BigNumber right(n);
    (decimal >= 0 ? right : left).multiply_by_power(5, std::abs(decimal));
    const int shift = binary - decimal;
    (shift >= 0 ? left : right).multiply_by_power(2, std::abs(shift));
    return left <=> right;
}

constexpr std::uint64_t fifteen_digits_min = 100'000'000'000'000;  // 10^14
constexpr std::uint64_t fifteen_digits_end = 10 * fifteen_digits_min;

// A positive finite double rounded to fifteen significant digits: the
// significand n × 10^exponent nearest to it, the even n on a tie.
struct Rounded {
    std::uint64_t significand;  // fifteen digits: 10^14 ≤ n < 10^15
    int exponent;
};

Rounded round_to_fifteen_digits(double value)
{
    // value = mantissa × 2^binary, denormals included. (No std::bit_cast:
    // the libraries that need this file may lack it too.)
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    const auto biased = static_cast<int>(bits >> 52 & 0x7FF);
    const std::uint64_t fraction = bits & ((std::uint64_t{1} << 52) - 1);
    const std::uint64_t mantissa = biased == 0 ? fraction : fraction | std::uint64_t{1} << 52;
    const int binary = std::max(biased, 1) - 1075;

    // The exponent that puts value into [10^14, 10^15) × 10^exponent:
    // estimated, then made exact.
    int exponent = static_cast<int>(std::floor(std::log10(value))) - 14;
    while (compare(mantissa, binary, fifteen_digits_min, exponent) < 0) --exponent;
    while (compare(mantissa, binary, fifteen_digits_end, exponent) >= 0) ++exponent;

    // The significand: estimated in double arithmetic (10^exponent in two
    // factors, since it alone may lie beyond the double range), then settled
    // against its halfway points n ± 1/2 exactly, as 2 × value against 2n ± 1.
    const int half = exponent / 2;
    const double estimate = value / std::pow(10.0, half) / std::pow(10.0, exponent - half);
    auto n = std::clamp(static_cast<std::uint64_t>(std::llround(estimate)), fifteen_digits_min,
                        fifteen_digits_end);
    for (;;) {
        const auto above = compare(2 * mantissa, binary, 2 * n + 1, exponent);
        const auto below = compare(2 * mantissa, binary, 2 * n - 1, exponent);
        if (above > 0 || (above == 0 && n % 2 == 1)) {
            ++n;
        } else if (below < 0 || (below == 0 && n % 2 == 1)) {
            --n;
        } else {
            break;
        }
    }
    if (n == fifteen_digits_end) return {fifteen_digits_min, exponent + 1};  // rounded up to 10^15
    return {n, exponent};
}

std::string decimal_digits(std::uint64_t n)
{
    std::array<char, 20> digits{};
    return {digits.data(), std::to_chars(digits.data(), digits.data() + digits.size(), n).ptr};
}

// The layout of %g: trailing zeros dropped; the exponent form, with a sign
// and two digits at least, where the leading digit stands for less than
// 10^-4 or for 10^15 or more; the plain form otherwise.
std::string layout(Rounded rounded)
{
    std::string digits = decimal_digits(rounded.significand);
    digits.erase(digits.find_last_not_of('0') + 1);
    const int leading = rounded.exponent + 14;  // the power of ten of the first digit
    if (leading < -4 || leading >= 15) {
        std::string text = digits.substr(0, 1);
        if (digits.size() > 1) text.append(".").append(digits, 1);
        text += leading < 0 ? "e-" : "e+";
        if (std::abs(leading) < 10) text += '0';
        return text + decimal_digits(static_cast<std::uint64_t>(std::abs(leading)));
    }
    if (leading < 0) return "0." + std::string(static_cast<std::size_t>(-leading - 1), '0') + digits;
    const auto integer_length = static_cast<std::size_t>(leading) + 1;
    if (digits.size() <= integer_length) return digits.append(integer_length - digits.size(), '0');
    return digits.substr(0, integer_length) + "." + digits.substr(integer_length);
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

std::to_chars_result to_chars_15g(char* first, char* last, double value)
{
    std::string text = std::signbit(value) ? "-" : "";
    if (std::isnan(value)) {
        text += "nan";
    } else if (std::isinf(value)) {
        text += "inf";
    } else if (value == 0) {
        text += "0";
    } else {
        text += layout(round_to_fifteen_digits(std::abs(value)));
    }
    if (last - first < static_cast<std::ptrdiff_t>(text.size())) return {last, std::errc::value_too_large};
    return {std::copy(text.begin(), text.end(), first), std::errc()};
}

}  // namespace calc::fallback
