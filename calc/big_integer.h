#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace calc::detail {

// A non-negative integer of any size, with just the operations that the exact
// reading of number texts needs: build from decimal digits, multiply by powers
// of five and two, compare, subtract, halve.
class BigInteger {
public:
    BigInteger() = default;
    explicit BigInteger(std::uint64_t value);

    // The value of a string of decimal digits '0' to '9'.
    [[nodiscard]] static BigInteger from_digits(std::string_view digits);

    void multiply_by_pow5(unsigned exponent);
    void shift_left(unsigned bits);
    void shift_right_one();
    // Requires *this >= other.
    void subtract(const BigInteger& other);

    [[nodiscard]] unsigned bit_length() const;
    friend int compare(const BigInteger& a, const BigInteger& b);

private:
    void multiply_small(std::uint32_t factor);
    void add_small(std::uint32_t addend);
    void trim();

    std::vector<std::uint32_t> limbs_;  // least significant first, no leading zero limbs
};

}  // namespace calc::detail
