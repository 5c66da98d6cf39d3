#include "tests/support/huge_number_texts.h"

#include <algorithm>
#include <cstdint>

namespace reference {
namespace {

constexpr std::size_t megabyte = std::size_t{1} << 20;

// Multiplies a decimal integer, most significant digit first, in place.
void multiply(std::string& digits, std::uint64_t factor)
{
    std::uint64_t carry = 0;
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        const std::uint64_t product = static_cast<std::uint64_t>(*it - '0') * factor + carry;
        *it = static_cast<char>('0' + product % 10);
        carry = product / 10;
    }
    for (; carry != 0; carry /= 10)
        digits.insert(digits.begin(), static_cast<char>('0' + carry % 10));
}

void decrement(std::string& digits)
{
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '0') {
            --*it;
            return;
        }
        *it = '9';
    }
}

std::string with_thousands_dots(const std::string& digits)
{
    std::string out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i != 0 && (digits.size() - i) % 3 == 0) out.push_back('.');
        out.push_back(digits[i]);
    }
    return out;
}

std::string repeated(std::string_view piece, std::size_t times)
{
    std::string out;
    out.reserve(piece.size() * times);
    for (std::size_t i = 0; i < times; ++i) out.append(piece);
    return out;
}

}  // namespace

std::string decimal_digits_of_power_of_two(unsigned exponent, std::uint64_t multiplier)
{
    std::string digits = "1";
    for (unsigned i = 0; i < exponent; ++i) multiply(digits, 2);
    multiply(digits, multiplier);
    return digits;
}

std::vector<NamedText> huge_number_texts()
{
    const std::string n = std::to_string(megabyte);
    const std::string zeros(megabyte, '0');
    // 1 + 2^-53, halfway between 1 and the next double.
    const std::string one_halfway = "1,00000000000000011102230246251565404236316680908203125";
    // 2^-1075 = 5^1075 × 10^-1075, halfway between 0 and the smallest denormal.
    std::string five_power = "1";
    for (int i = 0; i < 1075; ++i) multiply(five_power, 5);
    const std::string denormal_halfway =
        "0," + std::string(1075 - five_power.size(), '0') + five_power;
    // 2^1024 - 2^970, halfway between DBL_MAX and 2^1024.
    const std::string top_halfway =
        decimal_digits_of_power_of_two(970, (std::uint64_t{1} << 54) - 1);
    std::string below_top_halfway = top_halfway;
    decrement(below_top_halfway);

    // A fixed pseudo-random digit run: the same texts on every machine.
    std::string random_digits(megabyte, '0');
    std::uint64_t state = 0x9e3779b97f4a7c15u;
    for (char& digit : random_digits) {
        state = state * 6364136223846793005u + 1442695040888963407u;
        digit = static_cast<char>('0' + (state >> 33) % 10);
    }
    std::string random_comma = random_digits;
    random_comma[megabyte / 2] = ',';

    return {
        {"thirds", "0," + std::string(megabyte, '3')},
        {"zeros-then-digit-shifted-back", "0," + zeros + "1E+" + n},
        {"zeros-then-digit-underflows", "0," + zeros + "1"},
        {"integer-overflows", "1" + zeros},
        {"nines-shifted-back", std::string(megabyte, '9') + "E-" + n},
        {"blanks-around", std::string(megabyte, ' ') + "-7" + std::string(megabyte, '\t')},
        {"junk-at-the-end", std::string(megabyte, '1') + "x"},
        {"one-halfway-tie", one_halfway + zeros},
        {"one-halfway-above", one_halfway + zeros + "1"},
        {"thousands-groups-fraction", "0" + repeated(".000", megabyte / 4) + ",1"},
        {"thousands-groups-overflow", "1" + repeated(".000", megabyte / 4)},
        {"thousands-group-broken-at-end", "0" + repeated(".000", megabyte / 4) + "0"},
        {"exponent-digits-overflow", "1E" + std::string(megabyte, '9')},
        {"exponent-digits-underflow", "-1E-" + std::string(megabyte, '9')},
        {"exponent-digits-zero", "-0E" + std::string(megabyte, '9')},
        {"exponent-leading-zeros", "1E-" + zeros + "5"},
        {"denormal-halfway-tie", denormal_halfway + zeros},
        {"denormal-halfway-above", denormal_halfway + zeros + "1"},
        {"top-halfway-grouped-tie", with_thousands_dots(top_halfway) + "," + zeros},
        {"top-halfway-below", below_top_halfway + "," + std::string(megabyte, '9')},
        {"random-digits", random_digits},
        {"random-digits-comma", "-" + random_comma + "e-" + std::to_string(megabyte / 2 - 3)},
    };
}

}  // namespace reference
