#include "calc/big_integer.h"

#include <algorithm>
#include <bit>

namespace calc::detail {

BigInteger::BigInteger(std::uint64_t value)
{
    while (value != 0) {
        limbs_.push_back(static_cast<std::uint32_t>(value));
        value >>= 32;
    }
}

BigInteger BigInteger::from_digits(std::string_view digits)
{
    // Nine digits at a time: 10^9 fits a limb.
    BigInteger result;
    std::size_t i = 0;
    while (i < digits.size()) {
        const std::size_t chunk = std::min<std::size_t>(9, digits.size() - i);
        std::uint32_t factor = 1;
        std::uint32_t value = 0;
        for (std::size_t k = 0; k < chunk; ++k, ++i) {
            factor *= 10;
            value = value * 10 + static_cast<std::uint32_t>(digits[i] - '0');
        }
        result.multiply_small(factor);
        result.add_small(value);
    }
    return result;
}

void BigInteger::multiply_small(std::uint32_t factor)
{
    std::uint64_t carry = 0;
    for (auto& limb : limbs_) {
        const std::uint64_t product = std::uint64_t{limb} * factor + carry;
        limb = static_cast<std::uint32_t>(product);
        carry = product >> 32;
    }
    if (carry != 0) limbs_.push_back(static_cast<std::uint32_t>(carry));
    trim();
}

void BigInteger::add_small(std::uint32_t addend)
{
    std::uint64_t carry = addend;
    for (auto& limb : limbs_) {
        if (carry == 0) return;
        const std::uint64_t sum = std::uint64_t{limb} + carry;
        limb = static_cast<std::uint32_t>(sum);
        carry = sum >> 32;
    }
    if (carry != 0) limbs_.push_back(static_cast<std::uint32_t>(carry));
}

void BigInteger::multiply_by_pow5(unsigned exponent)
{
    constexpr std::uint32_t pow5_13 = 1220703125;  // the largest power of five in a limb
    for (; exponent >= 13; exponent -= 13) multiply_small(pow5_13);
    std::uint32_t rest = 1;
    for (; exponent > 0; --exponent) rest *= 5;
    multiply_small(rest);
}

void BigInteger::shift_left(unsigned bits)
{
    if (limbs_.empty()) return;
    const unsigned whole = bits / 32;
    const unsigned part = bits % 32;
    if (part != 0) {
        std::uint32_t carry = 0;
        for (auto& limb : limbs_) {
            const std::uint32_t next = limb >> (32 - part);
            limb = (limb << part) | carry;
            carry = next;
        }
        if (carry != 0) limbs_.push_back(carry);
    }
    limbs_.insert(limbs_.begin(), whole, 0);
}

void BigInteger::shift_right_one()
{
    for (std::size_t i = 0; i < limbs_.size(); ++i) {
        const std::uint32_t high = i + 1 < limbs_.size() ? limbs_[i + 1] << 31 : 0;
        limbs_[i] = (limbs_[i] >> 1) | high;
    }
    trim();
}

void BigInteger::subtract(const BigInteger& other)
{
    std::int64_t borrow = 0;
    for (std::size_t i = 0; i < limbs_.size(); ++i) {
        std::int64_t diff = std::int64_t{limbs_[i]} - borrow;
        if (i < other.limbs_.size()) diff -= other.limbs_[i];
        borrow = diff < 0 ? 1 : 0;
        limbs_[i] = static_cast<std::uint32_t>(diff + (borrow << 32));
    }
    trim();
}

unsigned BigInteger::bit_length() const
{
    if (limbs_.empty()) return 0;
    return static_cast<unsigned>(32 * limbs_.size()) -
           static_cast<unsigned>(std::countl_zero(limbs_.back()));
}

int compare(const BigInteger& a, const BigInteger& b)
{
    if (a.limbs_.size() != b.limbs_.size()) return a.limbs_.size() < b.limbs_.size() ? -1 : 1;
    for (std::size_t i = a.limbs_.size(); i-- > 0;) {
        if (a.limbs_[i] != b.limbs_[i]) return a.limbs_[i] < b.limbs_[i] ? -1 : 1;
    }
    return 0;
}

void BigInteger::trim()
{
    while (!limbs_.empty() && limbs_.back() == 0) limbs_.pop_back();
}

}  // namespace calc::detail
